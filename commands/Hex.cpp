// The print-test box's hexadecimal form: a dump, and a forgiving parser of pairs and single digits.
#include "commands/Hex.h"

#include <optional>

#include "res/Hex.h"

namespace tallyx {
namespace {

bool IsSeparator(unsigned char c)
{
    return c == ' ' || c == '\n' || c == '\t' || c == '\r';
}

std::optional<uint8_t> DigitValue(unsigned char c)
{
    if (c >= '0' && c <= '9') return uint8_t(c - '0');
    if (c >= 'a' && c <= 'f') return uint8_t(c - 'a' + 10);
    if (c >= 'A' && c <= 'F') return uint8_t(c - 'A' + 10);
    return std::nullopt;
}

// Pairs of digits make a byte; a single digit ends at a separator or at the end of the text.
bool ParseHex(std::string_view text, Bytes& out)
{
    uint8_t current = 0;
    int digits = 0;
    for (unsigned char c : text) {
        if (IsSeparator(c)) {
            if (digits == 1) out.push_back(current);
            digits = 0;
            current = 0;
            continue;
        }
        const std::optional<uint8_t> value = DigitValue(c);
        if (!value) return false;
        current = uint8_t(current * 16 + *value);
        if (++digits == 2) {
            out.push_back(current);
            digits = 0;
            current = 0;
        }
    }
    if (digits == 1) out.push_back(current);
    return true;
}

} // namespace

std::string BytesToHexText(std::string_view text)
{
    return text.empty() ? std::string() : HexPairs(text) + ' ';
}

Bytes HexTextToBytes(std::string_view text, HexParseStatus& status)
{
    Bytes out;
    if (!ParseHex(text, out)) {
        status = HexParseStatus::BadCharacter;
        return {};
    }
    status = HexParseStatus::Converted;
    return out;
}

std::string HexTextToText(std::string_view text, HexParseStatus& status)
{
    Bytes bytes;
    if (!ParseHex(text, bytes)) {
        status = HexParseStatus::BadCharacter;
        return std::string(text);
    }
    status = HexParseStatus::Converted;
    std::string out(bytes.begin(), bytes.end());
    // The edit holds a C string: it ends at the first 00.
    return out.substr(0, out.find('\0'));
}

} // namespace tallyx
