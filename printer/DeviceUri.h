#pragma once
// The device URIs the printer application opens with tallyx's own transports:
//   socket://HOST[:PORT]              a network printer (port 9100 unless given)
//   serial:///dev/ttyUSB0?baud=19200  a serial port (9600 baud unless given)
//   usb:///dev/usb/lp0                a USB printer of the usblp driver
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tallyx::printer {

enum class DeviceKind : uint8_t { Socket, Serial, Usb };

struct DeviceUri {
    DeviceKind kind = DeviceKind::Socket;
    std::string host;   // socket
    uint16_t port = 9100;
    std::string path;   // serial, usb
    uint32_t baud = 9600;
};

// nullopt: not one of the three forms, or a port or baud that is not a number in range.
std::optional<DeviceUri> ParseDeviceUri(std::string_view uri);
std::string SerialDeviceUri(std::string_view path, uint32_t baud);

} // namespace tallyx::printer
