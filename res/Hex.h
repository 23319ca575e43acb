#pragma once
// Bytes as the tool shows them everywhere: "1B 40 0A", upper case, one space between.
#include <string>
#include <string_view>

#include "res/Types.h"

namespace tallyx {

inline std::string HexPairs(std::string_view bytes)
{
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(bytes.size() * 3);
    for (unsigned char b : bytes) {
        if (!out.empty()) out += ' ';
        out += kDigits[b >> 4];
        out += kDigits[b & 0x0F];
    }
    return out;
}

inline std::string HexPairs(const Bytes& bytes)
{
    return HexPairs(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

} // namespace tallyx
