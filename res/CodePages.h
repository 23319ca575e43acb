#pragma once
// The code pages a printer can store: combo position, the number sent, the item shown.
// The dialog's list, the set command and the command line all read this one table.
#include <array>
#include <cstdint>
#include <string_view>

namespace tallyx {

struct CodePageEntry {
    int position;
    uint8_t number;
    std::string_view item;
};

inline constexpr std::array<CodePageEntry, 75> kCodePages{{
    {0, 0, "0:OEM437(std.Europe)(1)"},
    {1, 1, "1:Katakana(1)"},
    {2, 2, "2:OEM850(Multilingual)"},
    {3, 3, "3:OEM860(Portuguese)(1)"},
    {4, 4, "4:OEM863(Canadian)(1)"},
    {5, 5, "5:OEM865(Nordic)(1)"},
    {6, 6, "6:(West Europe)"},
    {7, 7, "7:(Greek)"},
    {8, 8, "8:(Hebrew)(1)"},
    {9, 9, "9:(East Europe)"},
    {10, 10, "10:(Iran)"},
    {11, 16, "16:WPC1252"},
    {12, 17, "17:OEM866(Cyrillic#2)"},
    {13, 18, "18:OEM852(Latin2)"},
    {14, 19, "19:OEM858"},
    {15, 20, "20:(Iran2)"},
    {16, 21, "21:(Latvian)"},
    {17, 22, "22:Arabic(ISO-8859-6)"},
    {18, 23, "23:(PT151,1251)"},
    {19, 24, "24:OEM747"},
    {20, 25, "25:WPC1257"},
    {21, 27, "27:(Vietnam)"},
    {22, 28, "28:OEM864"},
    {23, 29, "29:PC1001"},
    {24, 30, "30:(Uigur)"},
    {25, 31, "31:(Hebrew)(2)"},
    {26, 32, "32:WPC1255(Israel)"},
    {27, 50, "50:OEM437(std.Europe)(2)"},
    {28, 51, "51:Katakana(2)"},
    {29, 52, "52:OEM437(std.Europe)(3)"},
    {30, 53, "53:OEM858(Multilingual)"},
    {31, 54, "54:OEM852(Latin-2)"},
    {32, 55, "55:OEM860(Portuguese)(2)"},
    {33, 56, "56:OEM861(Icelandic)"},
    {34, 57, "57:OEM863(Canadian)(2)"},
    {35, 58, "58:OEM865(Nordic)(2)"},
    {36, 59, "59:OEM866(Russian)"},
    {37, 60, "60:OEM855(Bulgarian)"},
    {38, 61, "61:OEM857(Turkey)"},
    {39, 62, "62:OEM862(Hebrew)"},
    {40, 63, "63:OEM864(Arabic)"},
    {41, 64, "64:OEM737(Greek)"},
    {42, 65, "65:OEM851(Greek)"},
    {43, 66, "66:OEM869(Greek)"},
    {44, 67, "67:OEM928(Greek)"},
    {45, 68, "68:OEM772(Lithuanian)"},
    {46, 69, "69:OEM774(Lithuanian)"},
    {47, 70, "70:OEM874(Thai)"},
    {48, 71, "71:WPC1252(Latin-1)"},
    {49, 72, "72:WPC1250(Latin-2)"},
    {50, 73, "73:WPC1251(Cyrillic)"},
    {51, 74, "74:PC3840(IBM-Russian)"},
    {52, 75, "75:PC3841(Gost)"},
    {53, 76, "76:PC3843(Polish)"},
    {54, 77, "77:PC3844(CS2)"},
    {55, 78, "78:PC3845(Hungarian)"},
    {56, 79, "79:PC3846(Turkish)"},
    {57, 80, "80:PC3847(Brazil-ABNT)"},
    {58, 81, "81:PC3848(Brazil-ABICOMP)"},
    {59, 82, "82:PC1001(Arabic)"},
    {60, 83, "83:PC2001(Lithuanian-KBL)"},
    {61, 84, "84:PC3001(Estonian-1)"},
    {62, 85, "85:PC3002(Estonian-2)"},
    {63, 86, "86:PC3011(Latvian-1)"},
    {64, 87, "87:PC3012(Latvian-2)"},
    {65, 88, "88:PC3021(Bulgarian)"},
    {66, 89, "89:PC3041(Maltese)"},
    {67, 90, "90:WPC1253(Greek)"},
    {68, 91, "91:WPC1254(Turkish)"},
    {69, 92, "92:WPC1256(Arabic)"},
    {70, 93, "93:OEM720(Arabic)"},
    {71, 94, "94:WPC1258(Vietnam)"},
    {72, 95, "95:OEM775(Latvian)"},
    {73, 96, "96:(Thai2)"},
    {74, 255, "255:(Thai)"},
}};

} // namespace tallyx
