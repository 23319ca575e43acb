#pragma once
// A combo item and the byte it sends, so the text and the byte cannot drift apart.
#include <cstdint>
#include <string_view>

namespace tallyx {

struct Choice {
    std::string_view item;
    uint8_t byte;
};

} // namespace tallyx
