// The barcode command: length, corrections, the rules of each symbology, and the bytes.
#include <gtest/gtest.h>

#include "commands/Barcode.h"
#include "tests/support/Hex.h"
#include "tests/support/Rows.h"

using namespace tallyx;
using namespace tallyx::test;

namespace {

constexpr uint8_t kUpcA = 0x41, kUpcE = 0x42, kEan13 = 0x43, kJan8 = 0x44, kCode39 = 0x45, kItf = 0x46,
                  kCodabar = 0x47, kCode93 = 0x48, kCode128 = 0x49;

BarcodeParams Defaults(uint8_t symbology = kUpcA)
{
    BarcodeParams p;
    p.hriPosition = 0x02;
    p.hriFont = 0x00;
    p.symbology = symbology;
    p.height = 96;
    p.width = 3;
    p.leftMargin = 0;
    return p;
}

// "" when the data is accepted, else the refusal's text (caption checked to be "BarCode").
std::string Verdict(uint8_t symbology, const std::string& data)
{
    const Result r = BuildBarcodeCommand(Defaults(symbology), data);
    if (r.ok()) return "";
    EXPECT_EQ(r.refusal()->caption, "BarCode");
    return std::string(r.refusal()->text);
}

struct Row {
    uint8_t symbology;
    std::string data;
    std::string verdict;   // "" accepted
};

void ExpectVerdicts(const std::vector<Row>& rows)
{
    for (const Row& row : rows) {
        SCOPED_TRACE(std::to_string(row.symbology) + " " + row.data);
        EXPECT_EQ(Verdict(row.symbology, row.data), row.verdict);
    }
}

const std::string kNotDigit = "设置错误!字元不在0~9";
const std::string kStartStop = "设置错误!起始符或终止符不在A~D";
const std::string kUnsupported = "设置错误!字元不支持";

} // namespace

TEST(Barcode, DefaultsAndElevenDigitUpcA)
{
    const Result r = BuildBarcodeCommand(Defaults(), "12345678901");
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(Hex(r.bytes()), "1D 48 02 1D 66 00 1D 68 60 1D 77 03 1D 78 00 1D 6B 41 0B "
                              "31 32 33 34 35 36 37 38 39 30 31");
    EXPECT_EQ(r.bytes().size(), 30u);
}

TEST(Barcode, ChosenBytesReachTheirCommands)
{
    const BarcodeParams p{
        .hriPosition = 0x03, .hriFont = 0x02, .symbology = kCode128, .height = 200, .width = 5, .leftMargin = 17};
    const Result r = BuildBarcodeCommand(p, "Ab");
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(Hex(r.bytes()), "1D 48 03 1D 66 02 1D 68 C8 1D 77 05 1D 78 11 1D 6B 49 02 41 62");
}

TEST(Barcode, FixedLengthCodesTestTheirMinimumLengthOnly)
{
    const Result twelfth = BuildBarcodeCommand(Defaults(), "12345678901X");
    ASSERT_TRUE(twelfth.ok());
    EXPECT_EQ(Hex(twelfth.bytes()).substr(45), "1D 6B 41 0C 31 32 33 34 35 36 37 38 39 30 31 58");
    ExpectVerdicts({
        {kUpcA, "1234567890X", kNotDigit},
        {kUpcA, "1234567890", "设置错误!字元个数不为11或12"},
        {kUpcA, "123456789012", ""},
        {kUpcA, "1234567890123", "设置错误!字元个数不为11或12"},
        {kUpcE, "12345", "设置错误!字元个数不为6或7"},
        {kUpcE, "123456", ""},
        {kUpcE, "123456X", ""},
        {kUpcE, "12345X7", kNotDigit},
        {kUpcE, "12345678", "设置错误!字元个数不为6或7"},
        {kEan13, "12345678901", "设置错误!字元个数不为12或13"},
        {kEan13, "123456789012", ""},
        {kEan13, "123456789012Z", ""},
        {kEan13, "12345678901Z3", kNotDigit},
        {kEan13, "12345678901234", "设置错误!字元个数不为12或13"},
        {kJan8, "123456", "设置错误!字元个数不为7或8"},
        {kJan8, "1234567", ""},
        {kJan8, "1234567-", ""},
        {kJan8, "123456-8", kNotDigit},
        {kJan8, "123456789", "设置错误!字元个数不为7或8"},
    });
}

TEST(Barcode, LengthIsTestedBeforeCharacters)
{
    ExpectVerdicts({
        {kUpcA, "ABC", "设置错误!字元个数不为11或12"},
        {kUpcA, "", "请输入数据!"},
        {kCode39, std::string(256, 'a'), "输入的数据太多了!"},
        {kUpcA, std::string(256, '1'), "输入的数据太多了!"},
        {kCode128, "", "请输入数据!"},
    });
}

TEST(Barcode, TwoHundredFiftyFiveBytesAreTheMost)
{
    const Result longest = BuildBarcodeCommand(Defaults(kCode128), std::string(255, 'Z'));
    ASSERT_TRUE(longest.ok());
    ASSERT_EQ(longest.bytes().size(), 274u);
    EXPECT_EQ(Hex(longest.bytes()).substr(0, 56), "1D 48 02 1D 66 00 1D 68 60 1D 77 03 1D 78 00 1D 6B 49 FF");
    EXPECT_EQ(longest.bytes().back(), 0x5A);
    EXPECT_EQ(Verdict(kCode128, std::string(256, 'Z')), "输入的数据太多了!");
    EXPECT_EQ(Verdict(kItf, std::string(255, '7')), "");
    EXPECT_EQ(Verdict(kItf, std::string(256, '7')), "输入的数据太多了!");
}

TEST(Barcode, NumbersAreCorrectedAsThePrinterTakesThem)
{
    struct NumberRow {
        int64_t height, width, margin;
        const char* sent;   // GS h, GS w, GS x parameters
    };
    const NumberRow rows[] = {
        {10, 3, 0, "A2 03 00"},   {11, 3, 0, "0B 03 00"},   {255, 3, 0, "FF 03 00"},
        {256, 3, 0, "A2 03 00"},  {-5, 3, 0, "A2 03 00"},   {0, 3, 0, "A2 03 00"},
        {96, 0, 0, "60 01 00"},   {96, 1, 0, "60 01 00"},   {96, 2, 0, "60 02 00"},
        {96, 7, 0, "60 07 00"},   {96, 8, 0, "60 08 00"},   {96, 9, 0, "60 08 00"},
        {96, -1, 0, "60 08 00"},  {96, 3, 300, "60 03 2C"}, {96, 3, -1, "60 03 FF"},
        {96, 3, 255, "60 03 FF"}, {96, 3, 256, "60 03 00"}, {96, 3, 2147483647, "60 03 FF"},
    };
    for (const NumberRow& row : rows) {
        SCOPED_TRACE(row.sent);
        BarcodeParams p = Defaults(kCode128);
        p.height = row.height;
        p.width = row.width;
        p.leftMargin = row.margin;
        const Result r = BuildBarcodeCommand(p, "1");
        ASSERT_TRUE(r.ok());
        const std::string hex = Hex(r.bytes());
        EXPECT_EQ(hex.substr(24, 2) + " " + hex.substr(33, 2) + " " + hex.substr(42, 2), row.sent);
    }
    BarcodeParams entered = Defaults();
    entered.height = 256;
    entered.width = -1;
    entered.leftMargin = 300;
    const BarcodeParams shown = CorrectBarcodeNumbers(entered);
    EXPECT_EQ(shown.height, 162);
    EXPECT_EQ(shown.width, 8);
    EXPECT_EQ(shown.leftMargin, 44);
}

TEST(Barcode, CodabarStartStopAndBody)
{
    ExpectVerdicts({
        {kCodabar, "A123B", ""},
        {kCodabar, "AB1CD", ""},
        {kCodabar, "D0123456789-$:/.+C", ""},
        {kCodabar, "A", ""},
        {kCodabar, "1234", kStartStop},
        {kCodabar, "a123b", kStartStop},
        {kCodabar, "A123E", kStartStop},
        {kCodabar, "A12*B", kUnsupported},
        // the first fault from the left decides
        {kCodabar, "A*21", kUnsupported},
        {kCodabar, "1*2B", kStartStop},
    });
}

TEST(Barcode, Code39Code93ItfAndCode128Characters)
{
    ExpectVerdicts({
        {kCode39, "*ABC*", ""},
        {kCode39, "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ -.$/+%*", ""},
        {kCode39, "abc", kUnsupported},
        {kCode39, "AB:", kUnsupported},
        {kCode93, "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ -.$/+%", ""},
        {kCode93, "AB*", kUnsupported},
        {kCode93, "ab", kUnsupported},
        {kItf, "12345", ""},
        {kItf, "1234", ""},
        {kItf, "12a45", kNotDigit},
        {kItf, "1234 ", kNotDigit},
        {kCode128, "any {text} \x01\x7F", ""},
    });
}

TEST(Barcode, CharacterTables)
{
    const std::pair<char, int> codabar[] = {{'0', 0}, {'9', 9}, {'-', 10}, {'$', 11}, {':', 12}, {'/', 13},
                                            {'.', 14}, {'+', 15}, {'A', 16}, {'D', 19}, {'E', 20}, {'a', 20},
                                            {'*', 20}, {'\0', 20}};
    for (const auto& [c, value] : codabar) {
        SCOPED_TRACE(c);
        EXPECT_EQ(CodabarValue(c), value);
    }
    const std::pair<char, int> code93[] = {{'0', 0},  {'9', 9},  {'A', 10}, {'Z', 35}, {'-', 36}, {'.', 37},
                                           {' ', 38}, {'$', 39}, {'/', 40}, {'+', 41}, {'%', 42}, {'*', 49},
                                           {'a', 49}, {'\0', 49}};
    for (const auto& [c, value] : code93) {
        SCOPED_TRACE(c);
        EXPECT_EQ(Code93Value(c), value);
    }
    int code39 = 0;
    for (int c = 0; c < 256; ++c) code39 += IsCode39Char(char(c));
    EXPECT_EQ(code39, 44);
    EXPECT_TRUE(IsCode39Char('*'));
    EXPECT_FALSE(IsCode39Char('a'));
    EXPECT_FALSE(IsCode39Char('\0'));
}

TEST(Barcode, GbkBytesAreCountedAndSent)
{
    // "中文" in GBK
    const Result r = BuildBarcodeCommand(Defaults(kCode128), "\xD6\xD0\xCE\xC4");
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(Hex(r.bytes()).substr(45), "1D 6B 49 04 D6 D0 CE C4");
    std::string twoByteChars;
    for (int i = 0; i < 127; ++i) twoByteChars += "\xD6\xD0";
    EXPECT_EQ(Verdict(kCode128, twoByteChars + "A"), "");                   // 255 bytes
    EXPECT_EQ(Verdict(kCode128, twoByteChars + "\xD6\xD0"), "输入的数据太多了!");   // 256 bytes
    EXPECT_EQ(Verdict(kCode39, "\xD6\xD0"), kUnsupported);
    EXPECT_EQ(Verdict(kUpcA, "\xD6\xD0\xCE\xC4" "1234567"), kNotDigit);
}

TEST(Barcode, UnknownSymbologySendsNothingSilently)
{
    for (uint8_t m : {0x00, 0x40, 0x4A, 0xFF}) {
        SCOPED_TRACE(int(m));
        const Result r = BuildBarcodeCommand(Defaults(m), "123");
        ASSERT_TRUE(r.ok());
        EXPECT_TRUE(r.bytes().empty());
        EXPECT_EQ(SymbologyHint(m), "");
    }
    // The data is still checked first.
    EXPECT_EQ(Verdict(0x00, ""), "请输入数据!");
}

TEST(Barcode, HintPerSymbology)
{
    ExpectEach<uint8_t, std::string>(
        {
            {kUpcA, "请输入11或12个数字"},
            {kUpcE, "请输入6或7个数字"},
            {kEan13, "请输入12或13个数字"},
            {kJan8, "请输入7或8个数字"},
            {kCode39, "请输入数字或大写英文字母或包括字符-.$/+% *"},
            {kItf, "请输入数字字符串"},
            {kCodabar, "起始符或终止符为A~D,其余为数字或包括字符$+-./:"},
            {kCode93, "请输入数字或大写英文字母或包括字符$%+ -./"},
            {kCode128, "请输入可见字符串"},
        },
        SymbologyHint);
}
