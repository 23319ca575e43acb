#pragma once
// Dotted addresses read the way the four-field address control holds them.
#include <optional>
#include <string_view>

#include "res/Types.h"

namespace tallyx {

// "192.168.1.100" is complete, "192.168.1" and "192..1.1" are incomplete, "" is blank.
// Nothing when the text could not be typed into the control: more than four fields,
// a field that is not a number of 0 to 255.
inline std::optional<AddressEntry> ParseAddressText(std::string_view text)
{
    AddressEntry entry;
    size_t field = 0;
    size_t digits = 0;
    unsigned value = 0;
    for (char c : text) {
        if (c == '.') {
            if (++field == 4) return std::nullopt;
            digits = 0;
            value = 0;
            continue;
        }
        if (c < '0' || c > '9' || ++digits > 3) return std::nullopt;
        value = value * 10 + unsigned(c - '0');
        if (value > 255) return std::nullopt;
        entry.octets[field] = uint8_t(value);
        entry.present[field] = true;
    }
    return entry;
}

// A complete dotted address as 32 bits, first octet in the most significant byte.
inline std::optional<uint32_t> ParseDottedAddress(std::string_view text)
{
    const auto entry = ParseAddressText(text);
    if (!entry || !entry->Complete()) return std::nullopt;
    return entry->Value();
}

} // namespace tallyx
