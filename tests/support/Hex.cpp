#include "tests/support/Hex.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>

#include "res/Hex.h"

namespace tallyx::test {

std::string Hex(std::string_view bytes)
{
    return HexPairs(bytes);
}

std::string Hex(const Bytes& bytes)
{
    return HexPairs(bytes);
}

Bytes FromHex(std::string_view spaced)
{
    Bytes out;
    std::string token;
    auto flush = [&] {
        if (token.empty()) return;
        // A typo in one test's literal fails that test, not the whole program.
        if (token.size() != 2 || !std::isxdigit(uint8_t(token[0])) || !std::isxdigit(uint8_t(token[1]))) {
            ADD_FAILURE() << "not a hex pair in a test literal: \"" << token << '"';
            token.clear();
            return;
        }
        out.push_back(uint8_t(std::strtoul(token.c_str(), nullptr, 16)));
        token.clear();
    };
    for (char c : spaced) {
        if (c == ' ') flush();
        else token += c;
    }
    flush();
    return out;
}

} // namespace tallyx::test
