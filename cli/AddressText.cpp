#include "cli/AddressText.h"

namespace tallyx::cli {

std::optional<AddressEntry> ParseAddressText(std::string_view text)
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

} // namespace tallyx::cli
