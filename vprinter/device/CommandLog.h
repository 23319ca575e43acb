#pragma once
// One JSON line per command received: sequence number, time, link, bytes, mnemonic, meaning.
#include <chrono>
#include <cstdio>
#include <mutex>
#include <string>
#include <string_view>

#include "res/Hex.h"
#include "vprinter/device/LogRecord.h"

namespace tallyx::vprinter {

// With `file` (render's), the line also names the file and the receipt of the command.
std::string LogLine(uint64_t seq, std::chrono::system_clock::time_point when, const LogRecord& record,
                    std::string_view file = {});

class CommandLog {
public:
    // "" or "-": standard output. Appends, unless `truncate`.
    explicit CommandLog(const std::string& path, bool truncate = false);
    ~CommandLog();
    CommandLog(const CommandLog&) = delete;
    CommandLog& operator=(const CommandLog&) = delete;

    bool Ok() const { return m_file != nullptr; }
    // Lines are held until Flush (or until this many bytes are held), so that a burst of
    // commands costs one write, not one each.
    static constexpr size_t kMaxHeldLog = 64 * 1024;
    void Write(const LogRecord& record);
    void Flush();
    // The file the next lines come from (render); "" for none.
    void SetFile(std::string file);
    // Why a write of the log failed ("" while none has); the first failure stays.
    std::string WriteError();
    // Flushes and closes the file; false when anything could not be written.
    bool Close();

private:
    void WriteHeld();

    std::mutex m_mutex;
    std::string m_held;
    FILE* m_file = nullptr;
    bool m_owned = false;
    uint64_t m_seq = 0;
    std::string m_sourceFile;
    int m_errno = 0;
};

} // namespace tallyx::vprinter
