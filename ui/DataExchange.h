#pragma once
// How the main window reads numbers out of its fields.
#include <cstdint>
#include <optional>
#include <string_view>

namespace tallyx {

// An unsigned whole number, blanks and tabs allowed around it; no sign, nothing else,
// at most 4294967295. Empty is not a number.
std::optional<uint32_t> ParseUnsignedField(std::string_view text);

} // namespace tallyx
