#pragma once
// ESC R n: the international character sets, each a national variant of twelve ASCII
// codes (23 24 40 5B 5C 5D 5E 60 7B 7C 7D 7E); every other byte is left as it is.
#include <cstdint>
#include <string_view>

namespace tallyx::vprinter {

struct InternationalSet {
    uint8_t number;
    std::string_view name;
    std::string_view characters[12];   // UTF-8, in the order of the codes above
};

// The set numbered `n`; null when the printer has none of that number.
const InternationalSet* FindInternationalSet(uint8_t n);

// What `byte` prints as in set `n`; empty when the set leaves it as ASCII.
std::string_view InternationalCharacter(uint8_t n, uint8_t byte);

} // namespace tallyx::vprinter
