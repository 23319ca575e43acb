#pragma once
// One JSON line per command received: sequence number, time, link, bytes, mnemonic, meaning.
#include <chrono>
#include <cstdio>
#include <mutex>
#include <string>

#include "vprinter/Interpreter.h"

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
    void Write(const LogRecord& record);

private:
    std::mutex m_mutex;
    FILE* m_file = nullptr;
    bool m_owned = false;
    uint64_t m_seq = 0;
};

} // namespace tallyx::vprinter
