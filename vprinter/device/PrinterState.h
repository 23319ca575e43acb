#pragma once
// What the virtual printer keeps across power cycles, and its factory defaults.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tallyx::vprinter {

using Bytes = std::vector<uint8_t>;
using Address = std::array<uint8_t, 4>;   // first octet first

inline constexpr int kLogoSlots = 5;
// NV memory per slot; a larger logo is refused whole, as a full NV memory would.
inline constexpr size_t kMaxLogoBytes = 256 * 1024;
inline constexpr size_t kNetReplySize = 22;
inline constexpr uint8_t kDhcpOff = 1;
inline constexpr uint8_t kDhcpOn = 2;

// A bit image in the column layout: width/8 bytes wide, height/8 bytes per column,
// columns left to right, MSB the topmost dot.
struct ColumnImage {
    int widthDots = 0;    // 8 * x
    int heightDots = 0;   // 8 * y
    Bytes data;           // widthDots * heightDots / 8 bytes
    bool Dot(int col, int row) const
    {
        size_t index = size_t(col) * size_t(heightDots / 8) + size_t(row / 8);
        return index < data.size() && (data[index] & (0x80 >> (row % 8)));
    }
};

struct NetworkParams {
    Address ip{192, 168, 1, 100};
    Address mask{255, 255, 255, 0};
    Address gateway{192, 168, 1, 1};
    Address dns{192, 168, 1, 1};
    uint8_t dhcp = kDhcpOff;
    bool operator==(const NetworkParams&) const = default;
};

struct PrinterState {
    uint8_t printMode = 1;    // 1B 4E 03: 0 single-byte, 1 Chinese (GBK), as sold here
    uint8_t density = 3;      // 1B 4E 04: 1 to 4
    uint8_t baudIndex = 1;    // 1B 4E 01: 0 4800 ... 5 115200
    bool buzzer = true;       // 1F 1B 11
    bool cutter = true;       // 1F 1B 12
    uint8_t font = 0;         // 1F 1B 1F FA: 0 to 2
    uint8_t codePage = 0;     // 1F 1B 1F FF
    NetworkParams network;
    std::array<std::optional<ColumnImage>, kLogoSlots> logos;

    bool operator==(const PrinterState& o) const;
};

// 4800 ... 115200 for index 0 ... 5; 0 for anything else.
uint32_t BaudOfIndex(int index);

// The 22-byte answer to 10 04 13.
Bytes NetworkReply(const NetworkParams& net);

std::string DottedText(const Address& a);

} // namespace tallyx::vprinter
