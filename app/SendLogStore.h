#pragma once
// The window program's send log: every line the link reports, kept in memory for the
// send log window and appended to the --log file when one was given. Safe from any
// thread (the cutter run sends from its worker).
#include <cstddef>
#include <mutex>
#include <string>
#include <vector>

#include "link/SendLog.h"

namespace tallyx {

class SendLogStore {
public:
    // Lines beyond this are dropped from memory, oldest first (the file keeps them all).
    static constexpr size_t kMaxLines = 10000;

    // False with errno set when the file cannot be opened for appending.
    bool OpenFile(const std::string& path) { return m_file.Open(path); }
    // Every command handed to this link is recorded from now on.
    void Attach(Link& link);
    void Record(const SendRecord& record);

    std::vector<std::string> Lines() const;
    // Grows by one with every line recorded and every clear, so a reader knows to refresh.
    size_t Generation() const;
    // Forgets the lines in memory; the file is left as it is.
    void Clear();

private:
    mutable std::mutex m_mutex;
    std::vector<std::string> m_lines;
    size_t m_generation = 0;
    SendLogFile m_file;
};

// The program's one store.
SendLogStore& TheSendLog();

} // namespace tallyx
