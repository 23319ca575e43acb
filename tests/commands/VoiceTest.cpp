// The voice chip: prompt stepping within 1..22 and the amount's checks in their order.
#include <gtest/gtest.h>

#include "commands/Voice.h"
#include "tests/support/Hex.h"

using namespace tallyx;
using tallyx::test::Hex;

TEST(Voice, PromptsStayWithinOneToTwentyTwo)
{
    struct Row {
        uint32_t from, previous, next;
    };
    const Row rows[] = {
        {0, 1, 1}, {1, 1, 2}, {2, 1, 3}, {21, 20, 22}, {22, 21, 22}, {23, 22, 22}, {200, 199, 22},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.from);
        EXPECT_EQ(PreviousVoice(row.from), row.previous);
        EXPECT_EQ(NextVoice(row.from), row.next);
    }
}

TEST(Voice, ThirtyNextPressesEndAtTwentyTwo)
{
    uint32_t v = 0;
    for (int i = 0; i < 30; ++i) v = NextVoice(v);
    EXPECT_EQ(Hex(BuildVoicePromptCommand(uint8_t(v))), "1F 12 10 16");
    EXPECT_EQ(Hex(BuildVoicePromptCommand(1)), "1F 12 10 01");
}

TEST(Voice, AmountsSentAsTyped)
{
    struct Row {
        const char* amount;
        const char* expected;
    };
    const Row rows[] = {
        {"12.50", "1F 13 05 31 32 2E 35 30"},
        {".", "1F 13 01 2E"},
        {"0", "1F 13 01 30"},
        {"1.2.3", "1F 13 05 31 2E 32 2E 33"},
        {"9999999.99", "1F 13 0A 39 39 39 39 39 39 39 2E 39 39"},
        {"9999999", "1F 13 07 39 39 39 39 39 39 39"},
        {"00009999999", "1F 13 0B 30 30 30 30 39 39 39 39 39 39 39"},   // 11 characters, leading zeros kept
        {"5.", "1F 13 02 35 2E"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.amount);
        const Result result = BuildAmountCommand(row.amount);
        ASSERT_TRUE(result.ok());
        EXPECT_EQ(Hex(result.bytes()), row.expected);
    }
}

TEST(Voice, AmountRefusalsInTheirOrder)
{
    struct Row {
        std::string amount;
        const char* expected;
    };
    const Row rows[] = {
        {"", "请输入金额数据!"},
        {"123456789012", "输入的数字太多了!"},     // 12 characters
        {"12a", "输入的金额数字非法!"},
        {"1,5", "输入的金额数字非法!"},
        {"-1", "输入的金额数字非法!"},
        {" 1", "输入的金额数字非法!"},
        {"abcdefghijkl", "输入的数字太多了!"},     // length before characters
        {"10000000", "输入的金额超出范围了!"},
        {"10000000.5", "输入的金额超出范围了!"},
        {"99999999999", "输入的金额超出范围了!"},  // 11 characters, far out of range
        {"0010000000", "输入的金额超出范围了!"},
        {"1a000000000", "输入的金额数字非法!"},    // characters before the value
        {std::string("\xD6\xD0", 2), "输入的金额数字非法!"},   // GBK 中
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.amount);
        const Result result = BuildAmountCommand(row.amount);
        ASSERT_NE(result.refusal(), nullptr);
        EXPECT_EQ(result.refusal()->caption, "声音测试");
        EXPECT_EQ(result.refusal()->text, row.expected);
    }
}
