// The operator's UTF-8 text as GBK bytes, and back.
#include <gtest/gtest.h>

#include "commands/Gbk.h"
#include "tests/support/Hex.h"
#include "tests/support/Rows.h"

using namespace tallyx;
using namespace tallyx::test;

TEST(Gbk, Utf8ToGbkReplacesWhatGbkCannotHold)
{
    ExpectEach<std::string, std::string>(
        {
            {"中文", "D6 D0 CE C4"},
            {"AB\r\n", "41 42 0D 0A"},
            {"", ""},
            {"\xF0\x9F\x98\x80", "3F"},                  // an emoji
            {"中\xF0\x9F\x98\x80文", "D6 D0 3F CE C4"},  // the rest survives it
            {"A\xFF" "B", "41 3F 42"},                   // not UTF-8 at all
            {"A\xE4" "B", "41 3F 42"},                   // a lead byte without its continuation
            {"A\xE4\xB8", "41 3F"},                      // cut short at the end
            {"打印机设置工具", "B4 F2 D3 A1 BB FA C9 E8 D6 C3 B9 A4 BE DF"},
        },
        [](const std::string& utf8) { return Hex(Utf8ToGbk(utf8)); });
}

TEST(Gbk, GbkToUtf8ReplacesInvalidBytes)
{
    ExpectEach<std::string, std::string>(
        {
            {"\xD6\xD0\xCE\xC4", "中文"},
            {"AB", "AB"},
            {"", ""},
            {"A\xFF" "B", "A\xEF\xBF\xBD" "B"},
            {"\xD6\xD0\xD6", "中\xEF\xBF\xBD"},           // half a character at the end
        },
        GbkToUtf8);
}

TEST(Gbk, LongTextConvertsWhole)
{
    std::string utf8;
    for (int i = 0; i < 5000; ++i) utf8 += "中";
    const std::string gbk = Utf8ToGbk(utf8);
    ASSERT_EQ(gbk.size(), 10000u);
    EXPECT_EQ(Hex(gbk.substr(9998)), "D6 D0");
    EXPECT_EQ(GbkToUtf8(gbk), utf8);
}

TEST(Gbk, TheBoxKeepsEveryByteThroughTextAndBack)
{
    const std::pair<std::string, std::string> rows[] = {
        {"1D 21 0A", "\x1D!\xE2\x90\x8A"},             // a lone LF shows as U+240A
        {"0D", "\xE2\x90\x8D"},                        // a lone CR as U+240D
        {"41 0D 0A 42", "A\nB"},                       // CR LF is the box's line break
        {"0A 0D", "\xE2\x90\x8A\xE2\x90\x8D"},         // LF then CR: no line break
        {"FF", "\xEF\x9F\xBF"},                        // not GBK: U+F7FF
        {"D6 D0 FF CE C4", "中\xEF\x9F\xBF文"},          // a bad byte between characters
        {"D6", "\xEF\x9F\x96"},                        // a lead byte cut short
        {"", ""},
    };
    for (const auto& [bytes, text] : rows) {
        SCOPED_TRACE(bytes);
        const Bytes b = FromHex(bytes);
        const std::string raw(b.begin(), b.end());
        EXPECT_EQ(BoxTextFromBytes(raw), text);
        EXPECT_EQ(Hex(BytesFromBoxText(text)), bytes);
    }
    // Typed by the operator: a Return is CR LF, a character GBK lacks is '?'.
    EXPECT_EQ(Hex(BytesFromBoxText("A\n\xF0\x9F\x98\x80")), "41 0D 0A 3F");
    // Every byte value survives, alone and between others.
    std::string all;
    for (int i = 1; i < 256; ++i) all += char(i);
    EXPECT_EQ(Hex(BytesFromBoxText(BoxTextFromBytes(all))), Hex(all));
}
