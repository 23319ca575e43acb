#include "vprinter/text/InternationalSets.h"

#include <algorithm>
#include <iterator>

namespace tallyx::vprinter {

namespace {

constexpr uint8_t kCodes[12] = {0x23, 0x24, 0x40, 0x5B, 0x5C, 0x5D, 0x5E, 0x60, 0x7B, 0x7C, 0x7D, 0x7E};

// The TM-T88 class's sets up to Vietnam; Arabia and the Indian sets replace far more than
// these twelve codes and are not on this printer.
constexpr InternationalSet kSets[] = {
    {0, "U.S.A.", {"#", "$", "@", "[", "\\", "]", "^", "`", "{", "|", "}", "~"}},
    {1, "France", {"#", "$", "à", "°", "ç", "§", "^", "`", "é", "ù", "è", "¨"}},
    {2, "Germany", {"#", "$", "§", "Ä", "Ö", "Ü", "^", "`", "ä", "ö", "ü", "ß"}},
    {3, "U.K.", {"£", "$", "@", "[", "\\", "]", "^", "`", "{", "|", "}", "~"}},
    {4, "Denmark I", {"#", "$", "@", "Æ", "Ø", "Å", "^", "`", "æ", "ø", "å", "~"}},
    {5, "Sweden", {"#", "¤", "É", "Ä", "Ö", "Å", "Ü", "é", "ä", "ö", "å", "ü"}},
    {6, "Italy", {"#", "$", "@", "°", "\\", "é", "^", "ù", "à", "ò", "è", "ì"}},
    {7, "Spain I", {"₧", "$", "@", "¡", "Ñ", "¿", "^", "`", "¨", "ñ", "}", "~"}},
    {8, "Japan", {"#", "$", "@", "[", "¥", "]", "^", "`", "{", "|", "}", "~"}},
    {9, "Norway", {"#", "¤", "É", "Æ", "Ø", "Å", "Ü", "é", "æ", "ø", "å", "ü"}},
    {10, "Denmark II", {"#", "$", "É", "Æ", "Ø", "Å", "Ü", "é", "æ", "ø", "å", "ü"}},
    {11, "Spain II", {"#", "$", "á", "¡", "Ñ", "¿", "é", "`", "í", "ñ", "ó", "ú"}},
    {12, "Latin America", {"#", "$", "á", "¡", "Ñ", "¿", "é", "ü", "í", "ñ", "ó", "ú"}},
    {13, "Korea", {"#", "$", "@", "[", "₩", "]", "^", "`", "{", "|", "}", "~"}},
    {14, "Slovenia/Croatia", {"#", "$", "Ž", "Š", "Đ", "Ć", "Č", "ž", "š", "đ", "ć", "č"}},
    {15, "China", {"#", "¥", "@", "[", "\\", "]", "^", "`", "{", "|", "}", "~"}},
    {16, "Vietnam", {"#", "₫", "@", "[", "\\", "]", "^", "`", "{", "|", "}", "~"}},
};

} // namespace

const InternationalSet* FindInternationalSet(uint8_t n)
{
    return n < std::size(kSets) ? &kSets[n] : nullptr;
}

std::string_view InternationalCharacter(uint8_t n, uint8_t byte)
{
    const InternationalSet* set = FindInternationalSet(n);
    const auto code = std::find(std::begin(kCodes), std::end(kCodes), byte);
    if (n == 0 || !set || code == std::end(kCodes)) return {};
    const std::string_view c = set->characters[code - std::begin(kCodes)];
    return c.size() == 1 && uint8_t(c[0]) == byte ? std::string_view{} : c;
}

} // namespace tallyx::vprinter
