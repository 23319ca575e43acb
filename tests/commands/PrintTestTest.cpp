// The print-test Send: the length limit comes before the hexadecimal check.
#include <gtest/gtest.h>

#include "commands/PrintTest.h"
#include "tests/support/Hex.h"

using namespace tallyx;
using namespace tallyx::test;

TEST(PrintTest, PlainTextIsSentAsItsBytes)
{
    const std::pair<std::string, std::string> rows[] = {
        {"ABC", "41 42 43"}, {"", ""}, {"1B 40", "31 42 20 34 30"}, {"\xD6\xD0\r\n", "D6 D0 0D 0A"},
    };
    for (const auto& [text, bytes] : rows) {
        SCOPED_TRACE(text);
        const Result r = BuildPrintTestCommand(text, false);
        ASSERT_TRUE(r.ok());
        EXPECT_EQ(Hex(r.bytes()), bytes);
    }
}

TEST(PrintTest, HexTextIsParsed)
{
    const Result r = BuildPrintTestCommand("1B 40 0A", true);
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(Hex(r.bytes()), "1B 40 0A");
    const Result bad = BuildPrintTestCommand("4G", true);
    ASSERT_FALSE(bad.ok());
    EXPECT_EQ(bad.refusal()->caption, "错误");
    EXPECT_EQ(bad.refusal()->text, "十六进制字符输入有错误!");
}

TEST(PrintTest, LimitIs24574BytesOfTextAsShown)
{
    for (bool hex : {false, true}) {
        SCOPED_TRACE(hex ? "hex" : "plain");
        const Result longest = BuildPrintTestCommand(std::string(24574, '4'), hex);
        ASSERT_TRUE(longest.ok());
        EXPECT_EQ(longest.bytes().size(), hex ? 12287u : 24574u);
        for (size_t size : {size_t(24575), size_t(24576), size_t(100000)}) {
            SCOPED_TRACE(size);
            const Result r = BuildPrintTestCommand(std::string(size, '4'), hex);
            ASSERT_FALSE(r.ok());
            EXPECT_EQ(r.refusal()->caption, "tallyx");
            EXPECT_EQ(r.refusal()->text, "输入太多了!");
        }
    }
    // Too long and not hexadecimal: the length is reported, not the bad character.
    const Result both = BuildPrintTestCommand(std::string(24575, 'G'), true);
    ASSERT_FALSE(both.ok());
    EXPECT_EQ(both.refusal()->text, "输入太多了!");
}
