#pragma once
// The two-dimensional symbols through GS ( k: QR Code (function group 31) and PDF417
// (group 30). Each command sets the symbol up, stores the content, and prints it centred.
// The printer encodes the symbol; nothing is encoded here.
#include <cstdint>
#include <string_view>

#include "res/Types.h"

namespace tallyx {

inline constexpr size_t kSymbolMaxBytes = 500;

struct QrParams {
    uint8_t moduleSize{};   // 1..8
    uint8_t ecc{};          // 0 L, 1 M, 2 Q, 3 H
};

struct Pdf417Params {
    uint8_t columns{};          // 0: automatic
    uint8_t rows{};             // 0: automatic
    uint8_t moduleWidth{};
    uint8_t rowHeight{};
    uint8_t options{};          // 0 standard, 1 truncated
    uint8_t correctionMode{};   // 30 level, 31 ratio
    uint8_t correction{};       // the level 0..8, or the ratio
};

// content: GBK bytes, line breaks as CR LF. Over 500 bytes or none is refused.
Result BuildQrCommand(const QrParams& p, std::string_view content);
Result BuildPdf417Command(const Pdf417Params& p, std::string_view content);

// The PDF417 dialog's combo texts, as they stand (typed or chosen).
struct Pdf417Texts {
    std::string_view columns, rows, moduleWidth, rowHeight;
    std::string_view options, correctionMode, level, ratio;
};

// How the dialog reads them: the numbers by their leading number, options 1 only for
// "truncated", the ratio only in "Ratio Setting", else the level ("Level-1" if unknown).
Pdf417Params ReadPdf417Texts(const Pdf417Texts& texts);

// The leading decimal number of a text (blanks and a sign allowed before it, 0 when
// there is none), as one byte: its low eight bits.
uint8_t LeadingNumberByte(std::string_view text);

} // namespace tallyx
