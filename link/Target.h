#pragma once
// Where the printer is: built once by the window, the command line or a job from their
// choices. Nothing below it reads a window.
#include <cstdint>
#include <string>

#include "res/Types.h"

namespace tallyx {

enum class LinkKind : uint8_t { None = 0, Serial = 1, Usb = 2, Network = 3 };

inline constexpr uint16_t kPrinterTcpPort = 9100;

struct Target {
    LinkKind kind = LinkKind::None;
    std::string path;        // serial: the port as named ("COM1" or a device path)
    uint32_t baud = 9600;    // serial
    AddressEntry address;    // network: as entered, so blank and incomplete stay apart
    uint16_t port = kPrinterTcpPort;
};

} // namespace tallyx
