#pragma once
// A combo item and the byte it sends, so the text and the byte cannot drift apart; the alias
// is the command line's other spelling of the item, for shells and keyboards without Chinese.
#include <cstdint>
#include <string_view>

namespace tallyx {

struct Choice {
    std::string_view item;
    uint8_t byte;
    std::string_view alias{};
};

} // namespace tallyx
