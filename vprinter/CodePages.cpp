#include "vprinter/CodePages.h"

#include "res/Types.h"

namespace tallyx::vprinter {

namespace {

// Vendor pages with no published table of their own (the regional variants in brackets,
// the PC3xxx family) have no charset: their upper half prints as a placeholder.
constexpr CodePage kCodePages[] = {
    {0, "OEM437", "CP437"},          {1, "Katakana", "SHIFT-JIS"}, {2, "OEM850", "CP850"},
    {3, "OEM860", "CP860"},          {4, "OEM863", "CP863"},       {5, "OEM865", "CP865"},
    {6, "West Europe", nullptr},     {7, "Greek", nullptr},        {8, "Hebrew", nullptr},
    {9, "East Europe", nullptr},     {10, "Iran", nullptr},        {16, "WPC1252", "CP1252"},
    {17, "OEM866", "CP866"},         {18, "OEM852", "CP852"},      {19, "OEM858", "CP858"},
    {20, "Iran II", nullptr},        {21, "Latvian", nullptr},     {22, "ISO-8859-6", "ISO-8859-6"},
    {23, "PT151 (1251)", "CP1251"},  {24, "OEM747", nullptr},      {25, "WPC1257", "CP1257"},
    {27, "Vietnam", nullptr},        {28, "OEM864", "CP864"},      {29, "PC1001", nullptr},
    {30, "Uigur", nullptr},          {31, "Hebrew 2", nullptr},    {32, "WPC1255", "CP1255"},
    {50, "OEM437", "CP437"},         {51, "Katakana", "SHIFT-JIS"}, {52, "OEM437", "CP437"},
    {53, "OEM858", "CP858"},         {54, "OEM852", "CP852"},      {55, "OEM860", "CP860"},
    {56, "OEM861", "CP861"},         {57, "OEM863", "CP863"},      {58, "OEM865", "CP865"},
    {59, "OEM866", "CP866"},         {60, "OEM855", "CP855"},      {61, "OEM857", "CP857"},
    {62, "OEM862", "CP862"},         {63, "OEM864", "CP864"},      {64, "OEM737", "CP737"},
    {65, "OEM851", "CP851"},         {66, "OEM869", "CP869"},      {67, "OEM928", nullptr},
    {68, "OEM772", "CP772"},         {69, "OEM774", "CP774"},      {70, "OEM874", "CP874"},
    {71, "WPC1252", "CP1252"},       {72, "WPC1250", "CP1250"},    {73, "WPC1251", "CP1251"},
    {74, "PC3840", nullptr},         {75, "PC3841", nullptr},      {76, "PC3843", nullptr},
    {77, "PC3844", nullptr},         {78, "PC3845", nullptr},      {79, "PC3846", nullptr},
    {80, "PC3847", nullptr},         {81, "PC3848", nullptr},      {82, "PC1001", nullptr},
    {83, "PC2001", "CP771"},         {84, "PC3001", nullptr},      {85, "PC3002", nullptr},
    {86, "PC3011", nullptr},         {87, "PC3012", nullptr},      {88, "PC3021", nullptr},
    {89, "PC3041", nullptr},         {90, "WPC1253", "CP1253"},    {91, "WPC1254", "CP1254"},
    {92, "WPC1256", "CP1256"},       {93, "OEM720", nullptr},      {94, "WPC1258", "CP1258"},
    {95, "OEM775", "CP775"},         {96, "Thai 2", nullptr},      {255, "Thai", nullptr},
};

static_assert(std::size(kCodePages) == 75);

} // namespace

std::span<const CodePage> CodePages()
{
    return kCodePages;
}

const CodePage* FindCodePage(uint8_t number)
{
    return FindRow(kCodePages, &CodePage::number, number);
}

const char* CodePageCharset(uint8_t number)
{
    const CodePage* page = FindCodePage(number);
    return page ? page->charset : nullptr;
}

std::string CodePageText(uint8_t number)
{
    const CodePage* page = FindCodePage(number);
    const std::string n = std::to_string(number);
    if (!page) return n + " (no such code page: characters from 80 print as placeholders)";
    if (!page->charset) return n + " (" + page->name + ": no character table, characters from 80 print as placeholders)";
    return n + " (" + page->name + ", " + page->charset + ")";
}

} // namespace tallyx::vprinter
