#pragma once
// One open printer device behind a device URI: bytes out, a status reply in. The transports
// are the link's; this only holds the open descriptor for the length of a PAPPL session.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "link/Outcome.h"
#include "printer/DeviceUri.h"

namespace tallyx::printer {

// How long a reply may take, and a write may stall, before the device is taken as gone.
inline constexpr int kReplyBoundMs = 1000;
inline constexpr int kConnectBoundMs = 5000;
inline constexpr int kWriteStallMs = 10000;

// One transport's open descriptor.
class Channel {
public:
    virtual ~Channel() = default;
    // Every byte, or the fault that stopped it.
    virtual Outcome Write(std::span<const uint8_t> bytes) = 0;
    // What came within timeoutMs (0 bytes: none).
    virtual size_t Read(uint8_t* data, size_t capacity, int timeoutMs) = 0;
};

class DeviceLink {
public:
    // The device opened, or null with the fault and its errno in `why`.
    static std::unique_ptr<DeviceLink> Open(const DeviceUri& uri, Outcome& why);

    Outcome Write(std::span<const uint8_t> bytes);
    size_t Read(uint8_t* data, size_t capacity, int timeoutMs);
    // Opens the device afresh (a printer that went away and came back); false when it is not there.
    bool Reopen();

private:
    DeviceLink(DeviceUri uri, std::unique_ptr<Channel> channel) : m_uri(std::move(uri)), m_channel(std::move(channel)) {}

    DeviceUri m_uri;
    std::unique_ptr<Channel> m_channel;   // null after a failed reopen
};

// The IEEE 1284 device ID the usblp driver read from the printer ("" when none).
std::string UsbDeviceId(const std::string& devicePath, const std::string& sysRoot = "/sys");

} // namespace tallyx::printer
