// The cutter test's limits and its numbered cycle.
#include <gtest/gtest.h>

#include "commands/CutCycle.h"
#include "tests/support/Hex.h"
#include "tests/support/Rows.h"

using namespace tallyx;
using tallyx::test::ExpectEach;
using tallyx::test::Hex;

TEST(CutCycle, EightDigitsTwoFeedsAndACut)
{
    ExpectEach<uint32_t, std::string>(
        {
            {1, "30 30 30 30 30 30 30 31 0A 0A 1D 56 41 00"},            // 00000001
            {2, "30 30 30 30 30 30 30 32 0A 0A 1D 56 41 00"},
            {99999, "30 30 30 39 39 39 39 39 0A 0A 1D 56 41 00"},        // 00099999
            {99999999, "39 39 39 39 39 39 39 39 0A 0A 1D 56 41 00"},     // the largest of eight digits
            {123456789, "32 33 34 35 36 37 38 39 0A 0A 1D 56 41 00"},    // the ninth digit is dropped
            {100000000, "30 30 30 30 30 30 30 30 0A 0A 1D 56 41 00"},
        },
        [](uint32_t cycle) { return Hex(BuildCutCycle(cycle)); });
}

TEST(CutCycle, CountBeforeDelayBothSidesOfEachLimit)
{
    struct Row {
        uint32_t count, delay;
        const char* expected;   // "" accepted
    };
    const Row rows[] = {
        {1, 0, ""},
        {99999, 5000, ""},
        {2, 1000, ""},
        {100000, 1000, "不适用的范围，最大为99999次！"},
        {4294967295u, 1000, "不适用的范围，最大为99999次！"},
        {0, 1000, "不适用的范围，最小为1次！"},
        {1, 5001, "延时不对，最大延时是5000ms"},
        {100000, 5001, "不适用的范围，最大为99999次！"},   // count first
        {0, 9000, "不适用的范围，最小为1次！"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::to_string(row.count) + " " + std::to_string(row.delay));
        const auto refusal = CheckCutterSettings(row.count, row.delay);
        if (*row.expected == 0) {
            EXPECT_FALSE(refusal.has_value());
            continue;
        }
        ASSERT_TRUE(refusal.has_value());
        EXPECT_EQ(refusal->caption, "CUTTER_DIALOG");
        EXPECT_EQ(refusal->text, row.expected);
    }
}
