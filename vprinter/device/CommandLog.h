#pragma once
// One JSON line per command received: sequence number, time, link, bytes, mnemonic, meaning.
#include <chrono>
#include <cstdio>
#include <mutex>
#include <string>

#include "res/Hex.h"
#include "vprinter/device/LogRecord.h"

namespace tallyx::vprinter {

std::string LogLine(uint64_t seq, std::chrono::system_clock::time_point when, const LogRecord& record);

class CommandLog {
public:
    // "" or "-": standard output.
    explicit CommandLog(const std::string& path);
    ~CommandLog();
    CommandLog(const CommandLog&) = delete;
    CommandLog& operator=(const CommandLog&) = delete;

    bool Ok() const { return m_file != nullptr; }
    // Lines are held until Flush (or until this many bytes are held), so that a burst of
    // commands costs one write, not one each.
    static constexpr size_t kMaxHeldLog = 64 * 1024;
    void Write(const LogRecord& record);
    void Flush();

private:
    void WriteHeld();

    std::mutex m_mutex;
    std::string m_held;
    FILE* m_file = nullptr;
    bool m_owned = false;
    uint64_t m_seq = 0;
};

} // namespace tallyx::vprinter
