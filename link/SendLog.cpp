#include "link/SendLog.h"

#include <array>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <nlohmann/json.hpp>

#include "res/Hex.h"

namespace tallyx {

namespace {

// In the order of LinkFault.
constexpr std::array<std::string_view, 20> kFaultNames{
    "sent", "PortBusy", "UsbOpenFailed", "NoUsbDevice", "UsbNotOpened", "AddressBlank",
    "AddressIncomplete", "SendAddressIncomplete", "SocketFailed", "NotReached", "CutOff",
    "ReplyShort", "SaveFailed", "WriteTimeout", "Stopped", "NotWritten", "Disconnected", "NoReply",
    "BadReply", "TooLong",
};
static_assert(size_t(LinkFault::TooLong) + 1 == kFaultNames.size(), "one name per fault");

std::string IsoTime(std::chrono::system_clock::time_point t)
{
    using namespace std::chrono;
    const auto ms = duration_cast<milliseconds>(t.time_since_epoch()).count();
    const std::time_t seconds = std::time_t(ms / 1000);
    std::tm utc{};
    gmtime_r(&seconds, &utc);
    char text[64];   // room for any int the compiler cannot rule out
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d.%03dZ", utc.tm_year + 1900, utc.tm_mon + 1,
                  utc.tm_mday, utc.tm_hour, utc.tm_min, utc.tm_sec, int(ms % 1000));
    return text;
}

} // namespace

std::string_view OutcomeName(const Outcome& outcome)
{
    const size_t i = size_t(outcome.fault);
    return i < kFaultNames.size() ? kFaultNames[i] : std::string_view("unknown");
}

std::string_view LinkKindName(LinkKind kind)
{
    switch (kind) {
    case LinkKind::Serial: return "serial";
    case LinkKind::Usb: return "usb";
    case LinkKind::Network: return "network";
    case LinkKind::None: break;
    }
    return "none";
}

std::string ErrorReason(int error)
{
    switch (error) {
    case ENOENT:
    case ENXIO:
    case ENODEV: return "no such device";
    case EACCES:
    case EPERM: return "permission denied";
    case EBUSY:
    case EWOULDBLOCK: return "busy";
    case ENOTTY: return "not a serial port";
    default: return std::strerror(error);
    }
}

std::string SendLogLine(const SendRecord& record, std::string_view outcome)
{
    nlohmann::ordered_json line;
    line["time"] = IsoTime(record.time);
    line["link"] = LinkKindName(record.kind);
    // A port text is the operator's: bytes that are not UTF-8 are replaced, not refused.
    line["target"] = record.target;
    line["bytes"] = HexPairs(record.bytes);
    line["length"] = record.bytes.size();
    line["outcome"] = outcome.empty() ? OutcomeName(record.outcome) : outcome;
    // A port that did not open says why: the path is the target.
    if (outcome.empty() && record.outcome.fault == LinkFault::PortBusy && record.outcome.error != 0)
        line["reason"] = ErrorReason(record.outcome.error);
    return line.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
}

SendLogFile::~SendLogFile()
{
    if (m_file) std::fclose(m_file);
}

bool SendLogFile::Open(const std::string& path)
{
    std::lock_guard lock(m_mutex);
    if (m_file) std::fclose(m_file);
    m_file = std::fopen(path.c_str(), "a");
    return m_file != nullptr;
}

void SendLogFile::Append(const std::string& line)
{
    std::lock_guard lock(m_mutex);
    if (!m_file) return;
    std::fputs((line + '\n').c_str(), m_file);
    // Flushed per line: a run that ends badly still leaves what was sent.
    std::fflush(m_file);
}

// The link's side: one record per command handed to it, whatever came of it.
Outcome Link::Logged(LinkKind kind, const std::string& target, std::span<const uint8_t> bytes, Outcome outcome)
{
    if (m_onSend)
        m_onSend(SendRecord{std::chrono::system_clock::now(), kind, target, Bytes(bytes.begin(), bytes.end()), outcome});
    return outcome;
}

} // namespace tallyx
