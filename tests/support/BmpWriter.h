#pragma once
// Writes bitmap files for the tests: any size, depth, palette and header field, and
// files with a gap before the pixels or cut short.
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace tallyx::test {

struct BmpDef {
    int32_t width = 8;
    int32_t height = 8;
    uint16_t bits = 1;
    // Blue, green, red entries; the rest of the 2, 16 or 256 entries are written as zeros.
    std::vector<std::array<uint8_t, 3>> palette;
    // The value of the pixel in column x of picture row `top` (0 = top row): a palette
    // number for 1, 4 and 8 bits, the 16-bit word, or 0xRRGGBB for 24 and 32 bits.
    std::function<uint32_t(int x, int top)> pixel = [](int, int) { return 0u; };
    uint16_t type = 0x4D42;
    uint16_t reserved1 = 0;
    uint16_t reserved2 = 0;
    uint16_t planes = 1;
    uint32_t compression = 0;
    uint32_t clrImportant = 0;
    std::vector<uint8_t> gap;   // bytes between the palette and the pixels (bfOffBits points past them)
    size_t cut = 0;             // bytes left off the end of the file
};

std::vector<uint8_t> BmpBytes(const BmpDef& def);
// Writes the file under the test's temporary directory and returns its path.
std::string WriteBmp(const BmpDef& def, const std::string& name);
std::string WriteFile(const std::vector<uint8_t>& bytes, const std::string& name);

// Palettes: entry 0 black and entry 1 white, or the other way round.
inline const std::vector<std::array<uint8_t, 3>> kBlackWhite{{0, 0, 0}, {255, 255, 255}};
inline const std::vector<std::array<uint8_t, 3>> kWhiteBlack{{255, 255, 255}, {0, 0, 0}};

// A one-bit picture, every pixel black (entry 0 of a black-first palette).
BmpDef AllBlack(int32_t width, int32_t height);

} // namespace tallyx::test
