#pragma once
// The receipt printers tallyx knows, one row each: the virtual printer can be any of them
// (--profile) and the printer application has a driver for each (-m).
#include <cstdint>
#include <string_view>

namespace tallyx {

// The print head's dots across each roll, at 203 dpi.
inline constexpr int kPaper58Dots = 384;
inline constexpr int kPaper80Dots = 576;

// Whose ESC t numbers a printer uses: the Chinese-market table, or Epson's.
enum class CodePageNumbering : uint8_t { Vendor, Epson };

// The texts are string literals: a view's data ends in a NUL, for C interfaces.
struct Profile {
    std::string_view name;          // --profile NAME, -m NAME
    std::string_view description;   // for --help and the driver list
    int paperMm;                    // roll width
    int paperDots;                  // printable width
    int dpi;
    bool chineseAtStart;            // GBK double-byte mode at power-on (FS & / FS .)
    uint8_t codePageAtStart;        // ESC t number in force at power-on
    CodePageNumbering numbering;
    bool textAtLineTop;             // a line's text at its top, the spacing below (Epson); else at its foot
    std::string_view maker;         // GS I answers; empty: the virtual printer's own
    std::string_view model;
    std::string_view usbDeviceId;   // the IEEE 1284 ID of its USB printers: MFG and the start of MDL
};

inline constexpr Profile kProfiles[] = {
    {"zh-58", "58 mm Chinese-market printer, GBK mode at start (the default)", 58, kPaper58Dots, 203, true, 0,
     CodePageNumbering::Vendor, false, {}, {}, "MFG:POS;MDL:POS-58;CMD:ESC/POS;"},
    {"zh-80", "80 mm Chinese-market printer, GBK mode at start", 80, kPaper80Dots, 203, true, 0,
     CodePageNumbering::Vendor, false, {}, {}, "MFG:POS;MDL:POS-80;CMD:ESC/POS;"},
    {"tm-t88", "Epson TM-T88-class 80 mm printer, PC437 at start, Epson code page numbers", 80, kPaper80Dots, 203,
     false, 0, CodePageNumbering::Epson, true, {}, "tallyx virtual printer TM-T88 class",
     "MFG:EPSON;MDL:TM-T88;CMD:ESC/POS;"},
};

} // namespace tallyx
