#include "tests/support/Hex.h"

#include <cstdio>
#include <cstdlib>

namespace tallyx::test {

std::string Hex(std::string_view bytes)
{
    std::string out;
    char buf[4];
    for (unsigned char c : bytes) {
        std::snprintf(buf, sizeof buf, "%02X", c);
        if (!out.empty()) out += ' ';
        out += buf;
    }
    return out;
}

std::string Hex(const Bytes& bytes)
{
    return Hex(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

Bytes FromHex(std::string_view spaced)
{
    Bytes out;
    std::string token;
    auto flush = [&] {
        if (token.empty()) return;
        if (token.size() != 2) std::abort();
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
