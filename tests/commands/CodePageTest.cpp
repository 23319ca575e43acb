// The code page dialog's commands: the set command by list position, the chart, the self-test.
#include <gtest/gtest.h>

#include "commands/CodePage.h"
#include "res/CodePages.h"
#include "tests/support/Hex.h"
#include "tests/support/Rows.h"

using namespace tallyx;
using tallyx::test::ExpectEach;
using tallyx::test::Hex;

TEST(CodePage, SetSendsTheNumberOfTheListPosition)
{
    ExpectEach<int, std::string>(
        {
            {0, "1F 1B 1F FF 00 0A 0A"},    // 0:OEM437(std.Europe)(1)
            {10, "1F 1B 1F FF 0A 0A 0A"},   // 10:(Iran)
            {11, "1F 1B 1F FF 10 0A 0A"},   // 16:WPC1252
            {21, "1F 1B 1F FF 1B 0A 0A"},   // 27:(Vietnam)
            {27, "1F 1B 1F FF 32 0A 0A"},   // 50:OEM437(std.Europe)(2)
            {70, "1F 1B 1F FF 5D 0A 0A"},   // 93:OEM720(Arabic)
            {73, "1F 1B 1F FF 60 0A 0A"},   // 96:(Thai2)
            {74, "1F 1B 1F FF FF 0A 0A"},   // 255:(Thai)
        },
        [](int position) {
            const auto command = BuildSetCodePageCommand(position);
            EXPECT_TRUE(command.has_value());
            return command ? Hex(*command) : std::string("refused");
        });
}

TEST(CodePage, NothingOutsideTheList)
{
    for (int position : {-1, 75, 76, 1000}) {
        SCOPED_TRACE(position);
        EXPECT_FALSE(BuildSetCodePageCommand(position).has_value());
    }
}

TEST(CodePage, ListItemsInOrder)
{
    ASSERT_EQ(kCodePages.size(), 75u);
    ExpectEach<size_t, std::string_view>(
        {
            {0, "0:OEM437(std.Europe)(1)"}, {1, "1:Katakana(1)"}, {11, "16:WPC1252"},
            {18, "23:(PT151,1251)"}, {26, "32:WPC1255(Israel)"}, {27, "50:OEM437(std.Europe)(2)"},
            {70, "93:OEM720(Arabic)"}, {73, "96:(Thai2)"}, {74, "255:(Thai)"},
        },
        [](size_t position) { return kCodePages[position].item; });
    // The number sent is read off the item.
    EXPECT_EQ(kCodePages[11].Number(), 16);
    EXPECT_EQ(kCodePages[74].Number(), 255);
    EXPECT_EQ(CodePageEntry{"256:x"}.Number(), -1);
    EXPECT_EQ(CodePageEntry{"(Thai)"}.Number(), -1);
}

TEST(CodePage, ChartIsTheUpperHalfTwiceThenACut)
{
    std::string upper;
    for (int c = 0x80; c <= 0xFF; ++c) {
        static const char* digits = "0123456789ABCDEF";
        upper += std::string(upper.empty() ? "" : " ") + digits[c >> 4] + digits[c & 15];
    }
    ASSERT_EQ(upper.substr(0, 8), "80 81 82");
    const std::string expected = "1B 40 1C 2E 1B 21 00 " + upper + " 0A 0A 1B 21 30 " + upper + " 0A 1B 40 1D 56 41 48 1C 26";
    const Bytes chart = BuildCodePageChart();
    EXPECT_EQ(chart.size(), 277u);
    EXPECT_EQ(Hex(chart), expected);
}

TEST(CodePage, SelfTestPage)
{
    EXPECT_EQ(Hex(BuildCodePageSelfTest()), "1F 11 04");
}
