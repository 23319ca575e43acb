#pragma once
// The code pages a printer can store, in the order of the dialog's list: the item shown,
// which starts with the number sent. The dialog's list, the set command and the command
// line all read this one table; a page's list position is its place in it.
#include <array>
#include <cstdint>
#include <string_view>

namespace tallyx {

struct CodePageEntry {
    std::string_view item;

    // The number before the item's ':'; -1 when the item does not start so.
    constexpr int Number() const
    {
        int n = 0;
        size_t i = 0;
        for (; i < item.size() && item[i] >= '0' && item[i] <= '9' && n <= 255; ++i) n = n * 10 + (item[i] - '0');
        return i > 0 && i < item.size() && item[i] == ':' && n <= 255 ? n : -1;
    }
};

inline constexpr std::array<CodePageEntry, 75> kCodePages{{
    {"0:OEM437(std.Europe)(1)"},
    {"1:Katakana(1)"},
    {"2:OEM850(Multilingual)"},
    {"3:OEM860(Portuguese)(1)"},
    {"4:OEM863(Canadian)(1)"},
    {"5:OEM865(Nordic)(1)"},
    {"6:(West Europe)"},
    {"7:(Greek)"},
    {"8:(Hebrew)(1)"},
    {"9:(East Europe)"},
    {"10:(Iran)"},
    {"16:WPC1252"},
    {"17:OEM866(Cyrillic#2)"},
    {"18:OEM852(Latin2)"},
    {"19:OEM858"},
    {"20:(Iran2)"},
    {"21:(Latvian)"},
    {"22:Arabic(ISO-8859-6)"},
    {"23:(PT151,1251)"},
    {"24:OEM747"},
    {"25:WPC1257"},
    {"27:(Vietnam)"},
    {"28:OEM864"},
    {"29:PC1001"},
    {"30:(Uigur)"},
    {"31:(Hebrew)(2)"},
    {"32:WPC1255(Israel)"},
    {"50:OEM437(std.Europe)(2)"},
    {"51:Katakana(2)"},
    {"52:OEM437(std.Europe)(3)"},
    {"53:OEM858(Multilingual)"},
    {"54:OEM852(Latin-2)"},
    {"55:OEM860(Portuguese)(2)"},
    {"56:OEM861(Icelandic)"},
    {"57:OEM863(Canadian)(2)"},
    {"58:OEM865(Nordic)(2)"},
    {"59:OEM866(Russian)"},
    {"60:OEM855(Bulgarian)"},
    {"61:OEM857(Turkey)"},
    {"62:OEM862(Hebrew)"},
    {"63:OEM864(Arabic)"},
    {"64:OEM737(Greek)"},
    {"65:OEM851(Greek)"},
    {"66:OEM869(Greek)"},
    {"67:OEM928(Greek)"},
    {"68:OEM772(Lithuanian)"},
    {"69:OEM774(Lithuanian)"},
    {"70:OEM874(Thai)"},
    {"71:WPC1252(Latin-1)"},
    {"72:WPC1250(Latin-2)"},
    {"73:WPC1251(Cyrillic)"},
    {"74:PC3840(IBM-Russian)"},
    {"75:PC3841(Gost)"},
    {"76:PC3843(Polish)"},
    {"77:PC3844(CS2)"},
    {"78:PC3845(Hungarian)"},
    {"79:PC3846(Turkish)"},
    {"80:PC3847(Brazil-ABNT)"},
    {"81:PC3848(Brazil-ABICOMP)"},
    {"82:PC1001(Arabic)"},
    {"83:PC2001(Lithuanian-KBL)"},
    {"84:PC3001(Estonian-1)"},
    {"85:PC3002(Estonian-2)"},
    {"86:PC3011(Latvian-1)"},
    {"87:PC3012(Latvian-2)"},
    {"88:PC3021(Bulgarian)"},
    {"89:PC3041(Maltese)"},
    {"90:WPC1253(Greek)"},
    {"91:WPC1254(Turkish)"},
    {"92:WPC1256(Arabic)"},
    {"93:OEM720(Arabic)"},
    {"94:WPC1258(Vietnam)"},
    {"95:OEM775(Latvian)"},
    {"96:(Thai2)"},
    {"255:(Thai)"},
}};

constexpr bool EveryCodePageHasItsNumber()
{
    for (const CodePageEntry& entry : kCodePages)
        if (entry.Number() < 0) return false;
    return true;
}
static_assert(EveryCodePageHasItsNumber(), "every code page item starts with the number it sends");

} // namespace tallyx
