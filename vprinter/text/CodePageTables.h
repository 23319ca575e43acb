#pragma once
// Code pages carried as data: the upper halves that iconv does not have.
#include <cstdint>
#include <string_view>

namespace tallyx::vprinter {

// A CodePage's charset naming one of these tables starts with this.
inline constexpr std::string_view kTablePrefix = "table:";

struct CodePageTable {
    std::string_view name;
    uint16_t upper[128];   // characters 80 to FF; FFFD: none
};

// The table named `name` (without the prefix); null when there is none.
const CodePageTable* FindCodePageTable(std::string_view name);

} // namespace tallyx::vprinter
