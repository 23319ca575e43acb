#pragma once
// A receipt's dots as a one-bit grey PNG, written straight from its rows. Qt's writer wanted
// a one-bit copy first and compressed harder than a receipt needs: together they were most
// of the time `render` took.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace tallyx::vprinter {

// Rows of one byte a dot (darker than mid-grey is ink), or of one bit a dot (1 is ink, the
// first dot in the top bit, as QImage's Format_Mono keeps them).
struct DotRows {
    const uint8_t* first = nullptr;   // row 0
    size_t stride = 0;                // bytes from one row to the next
    int width = 0;
    int height = 0;
    bool packed = false;              // one bit a dot
};

// One row of grey dots packed as one bit a dot, ink as 1: (width + 7) / 8 bytes at `out`.
void PackInk(const uint8_t* grey, int width, uint8_t* out);

// `texts` become tEXt chunks (Latin-1 keys and values); `dotsPerMetre` a pHYs chunk when
// it is above 0. "" when it cannot be compressed.
std::string OneBitPng(const DotRows& rows, int dotsPerMetre,
                      const std::vector<std::pair<std::string, std::string>>& texts);

} // namespace tallyx::vprinter
