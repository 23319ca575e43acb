#pragma once
// The send log: one record per command handed to the link, and its JSON line
// ({"time", "link", "target", "bytes", "length", "outcome"}), so a technician can see
// exactly what went out and what came of it.
#include <chrono>
#include <cstdio>
#include <mutex>
#include <string>
#include <string_view>

#include "link/Link.h"

namespace tallyx {

struct SendRecord {
    std::chrono::system_clock::time_point time;
    LinkKind kind = LinkKind::None;
    std::string target;   // port path, USB device node, or "address:port"
    Bytes bytes;
    Outcome outcome;
};

// "sent", or the fault's name ("PortBusy", "NotReached"...).
std::string_view OutcomeName(const Outcome& outcome);
// "serial", "usb", "network" ("none" before any connect).
std::string_view LinkKindName(LinkKind kind);
// What a dry run writes in place of an outcome: the command was printed, not sent.
inline constexpr std::string_view kOutcomeDryRun = "dry-run";
// Why a device did not open, from its errno, in a technician's words ("no such device",
// "permission denied", "busy", "not a serial port"; otherwise the system's own text).
std::string ErrorReason(int error);
// One line of JSON, no line break; with "reason" when a port did not open; time in ISO 8601 UTC with milliseconds. `outcome`
// replaces the record's own outcome when given.
std::string SendLogLine(const SendRecord& record, std::string_view outcome = {});

// Appends lines to a file, one write per line, from any thread.
class SendLogFile {
public:
    SendLogFile() = default;
    ~SendLogFile();   // its lock already makes it neither copyable nor movable

    // False with errno set when the file cannot be opened for appending.
    bool Open(const std::string& path);
    bool IsOpen() const { return m_file != nullptr; }
    void Append(const std::string& line);

private:
    std::mutex m_mutex;
    FILE* m_file = nullptr;
};

} // namespace tallyx
