#pragma once
// The printers the virtual printer can be: paper, how it starts, how it numbers its
// code pages, and what it says it is. One row per printer, chosen by --profile.
// Every profile prints the same two font cells, those of the line layout.
#include <cstdint>
#include <span>
#include <string_view>

#include "vprinter/device/PrinterState.h"

namespace tallyx::vprinter {

// Whose ESC t numbers a printer uses: the Chinese-market table, or Epson's.
enum class CodePageNumbering : uint8_t { Vendor, Epson };

struct Profile {
    std::string_view name;          // --profile NAME
    std::string_view description;   // for --help
    int paperDots;                  // printable width
    int dpi;
    bool chineseAtStart;            // GBK double-byte mode at power-on (FS & / FS .)
    uint8_t codePageAtStart;        // ESC t number in force at power-on
    CodePageNumbering numbering;
    bool textAtLineTop;             // a line's text at its top, the spacing below (Epson); else at its foot
    std::string_view maker;         // GS I answers; empty: the virtual printer's own
    std::string_view model;
};

std::span<const Profile> Profiles();
// The row named `name`; null when there is none.
const Profile* FindProfile(std::string_view name);
// zh-58: what the tool configures, and what the virtual printer is unless told otherwise.
const Profile& DefaultProfile();

// The stored settings of a printer of this profile fresh from the factory.
PrinterState FactoryState(const Profile& profile);

} // namespace tallyx::vprinter
