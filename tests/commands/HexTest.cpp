// The hexadecimal dump and both parsers: pairs, single digits, separators, bad characters.
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <span>

#include "commands/Hex.h"
#include "tests/support/Hex.h"

using namespace tallyx;
using namespace tallyx::test;

namespace {

// Each text parses, with the status saying so, to what its row expects.
template <class Parse>
void ExpectConverted(std::span<const std::pair<std::string, std::string>> rows, Parse parse)
{
    for (const auto& [text, expected] : rows) {
        SCOPED_TRACE(text);
        HexParseStatus status = HexParseStatus::BadCharacter;
        EXPECT_EQ(parse(text, status), expected);
        EXPECT_EQ(status, HexParseStatus::Converted);
    }
}

} // namespace

TEST(Hex, DumpIsUpperCasePairsEachFollowedBySpace)
{
    const std::pair<std::string, std::string> rows[] = {
        {"AB", "41 42 "},
        {"", ""},
        {std::string("\x00\xFF\x0a", 3), "00 FF 0A "},
        {"\xD6\xD0\xCE\xC4", "D6 D0 CE C4 "},   // 中文 as the box holds it, in GBK
    };
    for (const auto& [text, dump] : rows) {
        SCOPED_TRACE(dump);
        EXPECT_EQ(BytesToHexText(text), dump);
    }
}

TEST(Hex, ParsesPairsSingleDigitsAndSeparators)
{
    const std::pair<std::string, std::string> rows[] = {
        {"1B 40 0A", "1B 40 0A"},
        {"1b400a", "1B 40 0A"},
        {"A 1", "0A 01"},
        {"123", "12 03"},
        {"\r\n  41", "41"},
        {"\t41\t\r\n", "41"},
        {"4 1", "04 01"},
        {"41 4", "41 04"},
        {"   ", ""},
        {"", ""},
        {"fF", "FF"},
        {"1B  40\n\n0A ", "1B 40 0A"},
    };
    ExpectConverted(rows, [](const std::string& text, HexParseStatus& status) {
        return Hex(HexTextToBytes(text, status));
    });
}

TEST(Hex, RefusesAnythingButDigitsAndSeparators)
{
    const std::string rows[] = {"4G", "\xD6\xD0", "41,42", "0x41", "41\v", "g", std::string("41\0", 3)};
    for (const std::string& text : rows) {
        SCOPED_TRACE(Hex(text));
        HexParseStatus status = HexParseStatus::Converted;
        EXPECT_TRUE(HexTextToBytes(text, status).empty());
        EXPECT_EQ(status, HexParseStatus::BadCharacter);
        status = HexParseStatus::Converted;
        EXPECT_EQ(HexTextToText(text, status), text);
        EXPECT_EQ(status, HexParseStatus::BadCharacter);
    }
}

TEST(Hex, TextParserStopsAtFirstZeroByte)
{
    const std::pair<std::string, std::string> rows[] = {
        {"41 00 42", "A"},
        {"41 4", "A\x04"},
        {"00 41", ""},
        {"41 42", "AB"},
    };
    ExpectConverted(rows, HexTextToText);
}

TEST(Hex, RoundTripOfChineseThroughTheDump)
{
    const std::string gbk = "\xD6\xD0\xCE\xC4";   // 中文
    const std::string dump = BytesToHexText(gbk);
    EXPECT_EQ(dump, "D6 D0 CE C4 ");
    HexParseStatus status = HexParseStatus::BadCharacter;
    EXPECT_EQ(HexTextToText(dump, status), gbk);
    EXPECT_EQ(status, HexParseStatus::Converted);
    EXPECT_EQ(Hex(HexTextToBytes(dump, status)), "D6 D0 CE C4");
}

// The tests' own literals: a typo fails the one test that holds it.
TEST(TestLiterals, AMalformedPairFailsOnlyItsTest)
{
    EXPECT_NONFATAL_FAILURE(FromHex("1B 4"), "not a hex pair in a test literal: \"4\"");
    EXPECT_NONFATAL_FAILURE(FromHex("1B G0"), "\"G0\"");
    EXPECT_EQ(Hex(FromHex("1b 40 0A")), "1B 40 0A");
}
