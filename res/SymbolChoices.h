#pragma once
// The combo items of the barcode, QR code and PDF417 dialogs with the byte each sends,
// the item each dialog starts on, and the numbers its edits start with. The command line
// offers the same items.
#include <cstdint>
#include <span>
#include <string_view>

#include "res/Choice.h"
#include "res/Types.h"

namespace tallyx {

// The item whose text is exactly `item`, or nullptr.
inline const Choice* FindChoice(std::span<const Choice> choices, std::string_view item)
{
    return FindRow(choices, &Choice::item, item);
}

// GS k symbology bytes (the m of "GS k m n data").
enum class Symbology : uint8_t {
    UpcA = 0x41,
    UpcE = 0x42,
    Ean13 = 0x43,
    Jan8 = 0x44,
    Code39 = 0x45,
    Itf = 0x46,
    Codabar = 0x47,
    Code93 = 0x48,
    Code128 = 0x49,
};

namespace barcode {
// GS H n
inline constexpr Choice kHriPositions[] = {
    {"无", 0x00, "none"}, {"上面", 0x01, "above"}, {"下面", 0x02, "below"}, {"上下", 0x03, "both"}};
// GS f n
inline constexpr Choice kHriFonts[] = {{"12X24", 0x00}, {"9X17", 0x01}, {"9X24", 0x02}};
inline constexpr Choice kSymbologies[] = {
    {"UPC-A", uint8_t(Symbology::UpcA)},     {"UPC-E", uint8_t(Symbology::UpcE)},
    {"EAN13(JAN13)", uint8_t(Symbology::Ean13), "EAN13"}, {"JAN8", uint8_t(Symbology::Jan8)},
    {"CODE39", uint8_t(Symbology::Code39)},  {"ITF", uint8_t(Symbology::Itf)},
    {"CODEBAR", uint8_t(Symbology::Codabar)}, {"CODE93", uint8_t(Symbology::Code93)},
    {"CODE128", uint8_t(Symbology::Code128)},
};
inline constexpr int kHriPositionDefault = 2;   // "下面"
inline constexpr int kHriFontDefault = 0;       // "12X24"
inline constexpr int kSymbologyDefault = 0;     // "UPC-A"
inline constexpr int kHeightDefault = 96;
inline constexpr int kWidthDefault = 3;
inline constexpr int kMarginDefault = 0;
} // namespace barcode

namespace qr {
// GS ( k 31 43 n: module size
inline constexpr Choice kModuleSizes[] = {{"1", 1}, {"2", 2}, {"3", 3}, {"4", 4},
                                          {"5", 5}, {"6", 6}, {"7", 7}, {"8", 8}};
// GS ( k 31 45 n: error correction, the level as a raw number
inline constexpr Choice kEccLevels[] = {{"级别L", 0, "L"}, {"级别M", 1, "M"}, {"级别Q", 2, "Q"}, {"级别H", 3, "H"}};
inline constexpr int kModuleSizeDefault = 7;    // "8"
inline constexpr int kEccDefault = 1;           // "级别M"
} // namespace qr

namespace pdf417 {
// The numeric combos hold two-digit numbers ("%02d"); the dialog sends what their text
// reads as, so their items need no byte of their own.
struct NumberRun {
    int first, last;
};
inline constexpr NumberRun kColumnItems[] = {{0, 30}};
inline constexpr NumberRun kRowItems[] = {{0, 0}, {3, 90}};
inline constexpr NumberRun kModuleWidthItems[] = {{2, 8}};
inline constexpr NumberRun kRowHeightItems[] = {{2, 16}};
inline constexpr NumberRun kRatioItems[] = {{1, 40}};

// GS ( k 30 46 n
inline constexpr Choice kOptions[] = {{"standard", 0}, {"truncated", 1}};
// GS ( k 30 45 m v: m
inline constexpr Choice kCorrectionModes[] = {{"Level Setting", 0x30}, {"Ratio Setting", 0x31}};
// ... v in level mode
inline constexpr Choice kLevels[] = {{"Level-0", 0}, {"Level-1", 1}, {"Level-2", 2},
                                     {"Level-3", 3}, {"Level-4", 4}, {"Level-5", 5},
                                     {"Level-6", 6}, {"Level-7", 7}, {"Level-8", 8}};

// Positions selected when the dialog opens.
inline constexpr int kColumnsDefault = 0;          // "00"
inline constexpr int kRowsDefault = 0;             // "00"
inline constexpr int kModuleWidthDefault = 1;      // "03"
inline constexpr int kRowHeightDefault = 1;        // "03"
inline constexpr int kOptionsDefault = 0;          // "standard"
inline constexpr int kCorrectionModeDefault = 0;   // "Level Setting"
inline constexpr int kLevelDefault = 1;            // "Level-1", also the level of an unknown text
inline constexpr int kRatioDefault = 0;            // "01"
} // namespace pdf417

} // namespace tallyx
