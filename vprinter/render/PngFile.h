#pragma once
// A receipt's dots as a one-bit grey PNG, written straight from its grey rows. Qt's writer
// wanted a one-bit copy first and compressed harder than a receipt needs: together they
// were most of the time `render` took.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace tallyx::vprinter {

struct GreyRows {
    const uint8_t* first = nullptr;   // row 0, one byte a dot
    size_t stride = 0;                // bytes from one row to the next
    int width = 0;
    int height = 0;
};

// Dots darker than mid-grey are ink. `texts` become tEXt chunks (Latin-1 keys and values);
// `dotsPerMetre` a pHYs chunk when it is above 0.
std::string OneBitPng(const GreyRows& rows, int dotsPerMetre,
                      const std::vector<std::pair<std::string, std::string>>& texts);

} // namespace tallyx::vprinter
