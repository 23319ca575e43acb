#include "vprinter/text/CodePages.h"

#include "res/Types.h"

namespace tallyx::vprinter {

namespace {

// A "table:" charset is carried as data (CodePageTables).
// Vendor pages with no published table of their own (the regional variants in brackets,
// the PC3xxx family) have no charset: their upper half prints as a placeholder.
constexpr CodePage kCodePages[] = {
    {0, "OEM437", "CP437"},          {1, "Katakana", "table:katakana"}, {2, "OEM850", "CP850"},
    {3, "OEM860", "CP860"},          {4, "OEM863", "CP863"},       {5, "OEM865", "CP865"},
    {6, "West Europe", nullptr},     {7, "Greek", nullptr},        {8, "Hebrew", nullptr},
    {9, "East Europe", nullptr},     {10, "Iran", nullptr},        {16, "WPC1252", "CP1252"},
    {17, "OEM866", "CP866"},         {18, "OEM852", "CP852"},      {19, "OEM858", "CP858"},
    {20, "Iran II", nullptr},        {21, "Latvian", nullptr},     {22, "ISO-8859-6", "ISO-8859-6"},
    {23, "PT151 (1251)", "CP1251"},  {24, "OEM747", nullptr},      {25, "WPC1257", "CP1257"},
    {27, "Vietnam", nullptr},        {28, "OEM864", "CP864"},      {29, "PC1001", nullptr},
    {30, "Uigur", nullptr},          {31, "Hebrew 2", nullptr},    {32, "WPC1255", "CP1255"},
    {50, "OEM437", "CP437"},         {51, "Katakana", "table:katakana"}, {52, "OEM437", "CP437"},
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

// Epson's ESC t numbers (TM-T88 class). A "table:" charset is carried as data (CodePageTables).
constexpr CodePage kEpsonCodePages[] = {
    {0, "PC437", "CP437"},           {1, "Katakana", "table:katakana"},              {2, "PC850", "CP850"},
    {3, "PC860", "CP860"},           {4, "PC863", "CP863"},                          {5, "PC865", "CP865"},
    {11, "PC851", "CP851"},          {12, "PC853", "table:PC853"},                   {13, "PC857", "CP857"},
    {14, "PC737", "CP737"},          {15, "ISO8859-7", "ISO-8859-7"},                {16, "WPC1252", "CP1252"},
    {17, "PC866", "CP866"},          {18, "PC852", "CP852"},                         {19, "PC858", "CP858"},
    {20, "Thai 42", "table:Thai42"}, {21, "Thai 11", "table:Thai11"},                {26, "Thai 18", nullptr},
    {30, "TCVN-3", "table:TCVN3"},   {31, "TCVN-3 capitals", "table:TCVN3capitals"}, {32, "PC720", "table:PC720"},
    {33, "WPC775", "CP775"},         {34, "PC855", "CP855"},                         {35, "PC861", "CP861"},
    {36, "PC862", "CP862"},          {37, "PC864", "CP864"},                         {38, "PC869", "CP869"},
    {39, "ISO8859-2", "ISO-8859-2"}, {40, "ISO8859-15", "ISO-8859-15"},              {41, "PC1098", "table:PC1098"},
    {42, "PC1118", "CP774"},         {43, "PC1119", "CP772"},                        {44, "PC1125", "CP1125"},
    {45, "WPC1250", "CP1250"},       {46, "WPC1251", "CP1251"},                      {47, "WPC1253", "CP1253"},
    {48, "WPC1254", "CP1254"},       {49, "WPC1255", "CP1255"},                      {50, "WPC1256", "CP1256"},
    {51, "WPC1257", "CP1257"},       {52, "WPC1258", "CP1258"},                      {53, "KZ-1048", "RK1048"},
};

std::span<const CodePage> Table(CodePageNumbering numbering)
{
    if (numbering == CodePageNumbering::Epson) return kEpsonCodePages;
    return kCodePages;
}

} // namespace

std::span<const CodePage> CodePages(CodePageNumbering numbering)
{
    return Table(numbering);
}

const CodePage* FindCodePage(uint8_t number, CodePageNumbering numbering)
{
    return FindRow(Table(numbering), &CodePage::number, number);
}

const char* CodePageCharset(uint8_t number, CodePageNumbering numbering)
{
    const CodePage* page = FindCodePage(number, numbering);
    return page ? page->charset : nullptr;
}

std::string CodePageText(uint8_t number, CodePageNumbering numbering)
{
    const CodePage* page = FindCodePage(number, numbering);
    const std::string n = std::to_string(number);
    if (!page) return n + " (no such code page: characters from 80 print as placeholders)";
    if (!page->charset) return n + " (" + page->name + ": no character table, characters from 80 print as placeholders)";
    return n + " (" + page->name + ", " + page->charset + ")";
}

} // namespace tallyx::vprinter
