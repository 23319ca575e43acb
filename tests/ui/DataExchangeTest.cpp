// Numbers read out of the main window's fields.
#include <gtest/gtest.h>

#include "ui/DataExchange.h"
#include "res/Address.h"

namespace tallyx::test {
namespace {

TEST(ParseUnsignedField, AcceptsUnsignedWholeNumbersOnly)
{
    const struct {
        const char* text;
        std::optional<uint32_t> value;
    } rows[] = {
        {"1", 1u}, {"0", 0u}, {" 7 ", 7u}, {"\t12", 12u}, {"007", 7u},
        {"4294967295", 4294967295u}, {"4294967296", std::nullopt},
        {"", std::nullopt}, {"  ", std::nullopt}, {"-1", std::nullopt}, {"+1", std::nullopt},
        {"1a", std::nullopt}, {"abc", std::nullopt}, {"1 2", std::nullopt}, {"1.5", std::nullopt},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.text);
        EXPECT_EQ(ParseUnsignedField(row.text), row.value);
    }
}

TEST(ParseDottedAddress, ReadsFourOctetsFirstHigh)
{
    const struct {
        const char* text;
        std::optional<uint32_t> value;
    } rows[] = {
        {"192.168.1.100", 0xC0A80164u}, {"0.0.0.0", 0u}, {"255.255.255.255", 0xFFFFFFFFu},
        {"256.1.1.1", std::nullopt}, {"1.2.3", std::nullopt}, {"1.2.3.4.5", std::nullopt},
        {"1..3.4", std::nullopt}, {"a.b.c.d", std::nullopt}, {"", std::nullopt},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.text);
        EXPECT_EQ(ParseDottedAddress(row.text), row.value);
    }
}

} // namespace
} // namespace tallyx::test
