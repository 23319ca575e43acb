#pragma once
// An address typed on the command line, read the way the four-field address control holds it.
#include <optional>
#include <string_view>

#include "res/Types.h"

namespace tallyx::cli {

// "192.168.1.100" is complete, "192.168.1" and "192..1.1" are incomplete, "" is blank.
// Nothing when the text could not be typed into the control: more than four fields,
// a field that is not a number of 0 to 255.
std::optional<AddressEntry> ParseAddressText(std::string_view text);

} // namespace tallyx::cli
