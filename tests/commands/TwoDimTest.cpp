// QR Code and PDF417 commands: the content limits, the GS ( k counts, the set-up blocks,
// and how the PDF417 dialog's texts are read.
#include <gtest/gtest.h>

#include "commands/TwoDim.h"
#include "tests/support/Hex.h"

using namespace tallyx;
using namespace tallyx::test;

namespace {

QrParams QrDefaults() { return QrParams{0x08, 0x01}; }
Pdf417Params Pdf417Defaults() { return Pdf417Params{0x00, 0x00, 0x03, 0x03, 0x00, 0x30, 0x01}; }

// The count bytes of the store block, as "kL kH".
std::string StoreCount(const Bytes& bytes, size_t at) { return Hex(Bytes(bytes.begin() + long(at), bytes.begin() + long(at) + 2)); }

using Build = Result (*)(std::string_view);
Result Qr(std::string_view content) { return BuildQrCommand(QrDefaults(), content); }
Result Pdf(std::string_view content) { return BuildPdf417Command(Pdf417Defaults(), content); }

struct Symbol {
    const char* name;
    Build build;
    size_t header;      // bytes before the content
    size_t countAt;     // offset of kL
    std::string caption;
};
const Symbol kSymbols[] = {{"QR", Qr, 24, 19, "QR_DIALOG"}, {"PDF417", Pdf, 57, 52, "PDF417_DIALOG"}};

} // namespace

TEST(QrCommand, AbcWithTheDefaults)
{
    const Result r = Qr("abc");
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(Hex(r.bytes()), "1D 28 6B 03 00 31 43 08 1D 28 6B 03 00 31 45 01 1D 28 6B 06 00 31 50 30 "
                              "61 62 63 1B 61 31 1D 28 6B 03 00 31 51 30 1B 61 30");
}

TEST(QrCommand, ModuleSizeAndLevelAreRawNumbers)
{
    const std::tuple<uint8_t, uint8_t, std::string> rows[] = {
        {1, 0, "1D 28 6B 03 00 31 43 01 1D 28 6B 03 00 31 45 00"},
        {4, 2, "1D 28 6B 03 00 31 43 04 1D 28 6B 03 00 31 45 02"},
        {8, 3, "1D 28 6B 03 00 31 43 08 1D 28 6B 03 00 31 45 03"},
    };
    for (const auto& [size, ecc, setUp] : rows) {
        SCOPED_TRACE(setUp);
        const Result r = BuildQrCommand(QrParams{size, ecc}, "x");
        ASSERT_TRUE(r.ok());
        EXPECT_EQ(Hex(r.bytes()).substr(0, setUp.size()), setUp);
    }
}

TEST(Pdf417Command, AbcWithTheDefaults)
{
    const Result r = Pdf("abc");
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(Hex(r.bytes()), "1D 28 6B 03 00 30 41 00 1D 28 6B 03 00 30 42 00 1D 28 6B 03 00 30 43 03 "
                              "1D 28 6B 03 00 30 44 03 1D 28 6B 03 00 30 46 00 1D 28 6B 04 00 30 45 30 01 "
                              "1D 28 6B 06 00 30 50 30 61 62 63 1B 61 31 1D 28 6B 03 00 30 51 30 1B 61 30");
    EXPECT_EQ(r.bytes().size(), 74u);
}

TEST(Pdf417Command, RatioCorrectionBlock)
{
    Pdf417Params p = Pdf417Defaults();
    p.correctionMode = 0x31;
    p.correction = 5;
    p.columns = 0x2C;
    p.options = 1;
    const Result r = BuildPdf417Command(p, "a");
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(Hex(r.bytes()).substr(0, 146), "1D 28 6B 03 00 30 41 2C 1D 28 6B 03 00 30 42 00 1D 28 6B 03 00 30 43 03 "
                                             "1D 28 6B 03 00 30 44 03 1D 28 6B 03 00 30 46 01 1D 28 6B 04 00 30 45 31 05");
}

TEST(TwoDimCommands, FiveHundredBytesAreTheMost)
{
    for (const Symbol& s : kSymbols) {
        SCOPED_TRACE(s.name);
        const Result longest = s.build(std::string(500, 'q'));
        ASSERT_TRUE(longest.ok());
        EXPECT_EQ(longest.bytes().size(), s.header + 500 + 14);
        EXPECT_EQ(StoreCount(longest.bytes(), s.countAt), "F7 01");
        for (size_t n : {size_t(501), size_t(5000)}) {
            const Result r = s.build(std::string(n, 'q'));
            ASSERT_FALSE(r.ok());
            EXPECT_EQ(r.refusal()->caption, s.caption);
            EXPECT_EQ(r.refusal()->text, "Input too long!");
        }
        const Result none = s.build("");
        ASSERT_FALSE(none.ok());
        EXPECT_EQ(none.refusal()->caption, s.caption);
        EXPECT_EQ(none.refusal()->text, "Input NULL!");
    }
}

TEST(TwoDimCommands, CountCarriesIntoTheHighByte)
{
    const std::pair<size_t, std::string> rows[] = {
        {1, "04 00"}, {252, "FF 00"}, {253, "00 01"}, {254, "01 01"},
    };
    for (const Symbol& s : kSymbols) {
        for (const auto& [n, count] : rows) {
            SCOPED_TRACE(std::string(s.name) + " " + std::to_string(n));
            const Result r = s.build(std::string(n, '7'));
            ASSERT_TRUE(r.ok());
            EXPECT_EQ(StoreCount(r.bytes(), s.countAt), count);
            EXPECT_EQ(r.bytes().size(), s.header + n + 14);
        }
    }
}

TEST(TwoDimCommands, GbkAndLineBreaksAreBytesOfTheContent)
{
    for (const Symbol& s : kSymbols) {
        SCOPED_TRACE(s.name);
        // "中文": four bytes, k = 7
        const Result chinese = s.build("\xD6\xD0\xCE\xC4");
        ASSERT_TRUE(chinese.ok());
        EXPECT_EQ(StoreCount(chinese.bytes(), s.countAt), "07 00");
        EXPECT_EQ(Hex(chinese.bytes()).substr(3 * (s.header - 2), 23), "50 30 D6 D0 CE C4 1B 61");
        const Result lines = s.build("a\r\nb\r\n");
        ASSERT_TRUE(lines.ok());
        EXPECT_EQ(StoreCount(lines.bytes(), s.countAt), "09 00");
        EXPECT_EQ(Hex(lines.bytes()).substr(3 * s.header, 17), "61 0D 0A 62 0D 0A");
    }
    // 250 two-byte characters are 500 bytes; one more is too many.
    std::string chars;
    for (int i = 0; i < 250; ++i) chars += "\xD6\xD0";
    EXPECT_TRUE(Qr(chars).ok());
    EXPECT_EQ(Qr(chars + "A").refusal()->text, "Input too long!");
}

TEST(Pdf417Texts, ReadAsTheDialogReadsItsCombos)
{
    struct Row {
        Pdf417Texts texts;
        std::string setUp;   // c r w h o m v
    };
    const Row rows[] = {
        {{"00", "00", "03", "03", "standard", "Level Setting", "Level-1", "01"}, "00 00 03 03 00 30 01"},
        {{"30", "90", "08", "16", "truncated", "Ratio Setting", "Level-1", "40"}, "1E 5A 08 10 01 31 28"},
        {{"300", "", "-1", " 12abc", "Truncated", "Level Setting", "Level-8", "05"}, "2C 00 FF 0C 00 30 08"},
        {{"x1", "+7", "2.9", "256", "truncated ", "Ratio Setting", "Level-3", "05"}, "00 07 02 00 00 31 05"},
        // ratio ignored in level mode; an unknown level or mode text means the level, Level-1
        {{"0", "0", "2", "2", "standard", "Level Setting", "Level-0", "33"}, "00 00 02 02 00 30 00"},
        {{"0", "0", "2", "2", "standard", "Level Setting", "Level-9", "33"}, "00 00 02 02 00 30 01"},
        {{"0", "0", "2", "2", "standard", "ratio setting", "level-4", "33"}, "00 00 02 02 00 30 01"},
        {{"0", "0", "2", "2", "standard", "Ratio Setting", "Level-4", ""}, "00 00 02 02 00 31 00"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.setUp);
        const Pdf417Params p = ReadPdf417Texts(row.texts);
        EXPECT_EQ(Hex(Bytes{p.columns, p.rows, p.moduleWidth, p.rowHeight, p.options, p.correctionMode, p.correction}),
                  row.setUp);
    }
}

TEST(Pdf417Texts, LeadingNumberKeepsTheLowEightBits)
{
    const std::pair<std::string, uint8_t> rows[] = {
        {"0", 0x00},    {"05", 0x05},   {"255", 0xFF}, {"256", 0x00},  {"300", 0x2C},
        {"-1", 0xFF},   {"-256", 0x00}, {"", 0x00},    {"abc", 0x00},  {"\t 42x", 0x2A},
        {"- 5", 0x00},  {"4294967297", 0x01},          {"99999999999999999999", 0xFF},
    };
    for (const auto& [text, byte] : rows) {
        SCOPED_TRACE(text);
        EXPECT_EQ(LeadingNumberByte(text), byte);
    }
}
