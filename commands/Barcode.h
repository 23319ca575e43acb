#pragma once
// One-dimensional barcodes: five GS set-up commands and GS k, after the data has passed
// the rules of its symbology. The printer draws the bars; nothing is encoded here.
#include <cstdint>
#include <string_view>

#include "res/Types.h"

namespace tallyx {

inline constexpr size_t kBarcodeMaxBytes = 255;

struct BarcodeParams {
    uint8_t hriPosition{};   // GS H
    uint8_t hriFont{};       // GS f
    uint8_t symbology{};     // GS k m
    // As entered; BuildBarcodeCommand sends them corrected.
    int64_t height{};
    int64_t width{};
    int64_t leftMargin{};
};

// The numbers as the printer takes them, a negative one counting as very large:
// a height outside 11..255 becomes 162, the width is held to 1..8, the margin keeps
// its low eight bits.
BarcodeParams CorrectBarcodeNumbers(BarcodeParams p);

// data: GBK bytes. The length first, then the symbology's rules, first fault wins.
// A symbology byte no rule knows gives no bytes and no message: nothing is to be sent.
Result BuildBarcodeCommand(const BarcodeParams& p, std::string_view data);

// What the hint line says for a symbology byte (empty for an unknown one).
std::string_view SymbologyHint(uint8_t symbology);

// The three character tables, kept as the symbologies define them.
bool IsCode39Char(char c);
int CodabarValue(char c);   // 0..19; 20 for a character Codabar lacks
int Code93Value(char c);    // 0..42; 49 for a character Code 93 lacks

} // namespace tallyx
