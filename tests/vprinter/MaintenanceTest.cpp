// The maintenance dialogs' commands: code pages and their chart, numbered cutter cycles,
// the voice chip.
#include <gtest/gtest.h>

#include "tests/vprinter/PrinterProbe.h"

namespace tallyx::vprinter::test {
namespace {

// The tool's code-page chart: the upper half at normal and at double size, then a cut.
std::string Chart()
{
    std::string half;
    for (int b = 0x80; b <= 0xFF; ++b) half += " " + tallyx::test::Hex(Bytes{uint8_t(b)});
    return "1B 40 1C 2E 1B 21 00" + half + " 0A 0A 1B 21 30" + half + " 0A 1B 40 1D 56 41 48 1C 26";
}

std::string ChartText(const char* codePage)
{
    PrinterProbe p;
    p.FeedHex(std::string("1F 1B 1F FF ") + codePage + " 0A 0A");
    p.interpreter.Idle();   // the set command's own two line feeds
    p.receipts.clear();
    p.FeedHex(Chart());
    return p.receipts.size() == 1 ? PrintedText(p.receipts[0]) : "";
}

TEST(CodePages, TheChartPrintsTheCharactersOfTheStoredCodePage)
{
    struct Row {
        const char* number;
        const char* chars;   // sixteen characters of the chart
    } rows[] = {
        {"00", "ÇüéâäàåçêëèïîìÄÅ"},          // 0: OEM437
        {"11", "АБВГДЕЖЗИЙКЛМНОП"},          // 17: OEM866
        {"10", "€?‚ƒ„…†‡ˆ‰Š‹Œ?Ž?"},           // 16: WPC1252, holes as unprintable
        {"12", "ÇüéâäůćçłëŐőîŹÄĆ"},          // 18: OEM852
        {"48", "ŔÁÂĂÄĹĆÇČÉĘËĚÍÎĎ"},          // 72: WPC1250 from C0
        {"3B", "АБВГДЕЖЗИЙКЛМНОП"},          // 59: OEM866 again
        {"5F", "ĆüéāäģåćłēŖŗīŹÄÅ"},          // 95: OEM775
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.number);
        const std::string text = ChartText(row.number);
        EXPECT_NE(text.find(row.chars), std::string::npos) << text;
    }
    EXPECT_NE(ChartText("00"), ChartText("11"));
}

TEST(CodePages, ACodePageWithoutATablePrintsPlaceholdersAndSaysSo)
{
    PrinterProbe p;
    p.FeedHex("1F 1B 1F FF 06 0A 0A");
    p.interpreter.Idle();
    EXPECT_EQ(p.state.codePage, 6);
    EXPECT_EQ(p.logs.at(0).meaning,
              "code page setting: 6 (West Europe: no character table, characters from 80 print as placeholders)");
    p.receipts.clear();
    p.FeedHex(Chart());
    ASSERT_EQ(p.receipts.size(), 1u);
    const std::string text = PrintedText(p.receipts[0]);
    std::string squares;
    for (int i = 0; i < 32; ++i) squares += "□";   // one line of the chart
    EXPECT_EQ(text.rfind(squares, 0), 0u) << text;

    PrinterProbe unknown;
    unknown.FeedHex("1C 2E 1B 74 0B 80 0A");
    EXPECT_EQ(unknown.logs.at(1).meaning,
              "select code page: 11 (no such code page: characters from 80 print as placeholders)");
    EXPECT_EQ(PrintedText(unknown.interpreter.CurrentReceipt()), "□\n");
}

TEST(CodePages, EveryNumberOfTheToolsListIsKnown)
{
    // The 75 numbers the code page dialog sends.
    std::vector<int> numbers;
    for (int n = 0; n <= 10; ++n) numbers.push_back(n);
    for (int n = 16; n <= 25; ++n) numbers.push_back(n);
    for (int n = 27; n <= 32; ++n) numbers.push_back(n);
    for (int n = 50; n <= 96; ++n) numbers.push_back(n);
    numbers.push_back(255);
    ASSERT_EQ(numbers.size(), 75u);
    for (int n : numbers) {
        SCOPED_TRACE(n);
        PrinterProbe p;
        p.FeedHex("1F 1B 1F FF " + tallyx::test::Hex(Bytes{uint8_t(n)}) + " 41 0A");
        EXPECT_EQ(p.logs.at(0).meaning.find("no such code page"), std::string::npos) << p.logs.at(0).meaning;
        EXPECT_EQ(PrintedText(p.interpreter.CurrentReceipt()), "A\n");
    }
    for (int n : {11, 15, 26, 33, 49, 97, 254}) {
        SCOPED_TRACE(n);
        PrinterProbe p;
        p.FeedHex("1F 1B 1F FF " + tallyx::test::Hex(Bytes{uint8_t(n)}));
        EXPECT_NE(p.logs.at(0).meaning.find("no such code page"), std::string::npos);
    }
}

TEST(Cutter, EveryCycleEndsOneReceiptCarryingItsNumber)
{
    for (int cycles : {1, 2, 5}) {
        SCOPED_TRACE(cycles);
        PrinterProbe p;
        for (int i = 1; i <= cycles; ++i) {
            char digits[16];
            std::snprintf(digits, sizeof digits, "%08d", i);
            p.FeedBytes(std::string(digits) + "\n\n\x1D\x56\x41" + std::string(1, '\0'));
        }
        ASSERT_EQ(p.receipts.size(), size_t(cycles));
        EXPECT_EQ(PrintedText(p.receipts.front()), "00000001\n\n");
        EXPECT_EQ(PrintedText(p.receipts.back()), (cycles == 5 ? "00000005\n\n" : cycles == 2 ? "00000002\n\n"
                                                                                               : "00000001\n\n"));
        EXPECT_TRUE(p.interpreter.CurrentReceipt().Empty());
    }
}

TEST(Voice, PromptsAndAmountsAreLoggedAndHandedOn)
{
    struct Row {
        const char* bytes;
        const char* log;
        const char* said;   // "" when nothing is said
    } rows[] = {
        {"1F 12 10 01", "tcp 1F 12 10 01 (4) 1F 12 10 = voice chip: voice prompt 1", "voice prompt 1"},
        {"1F 12 10 07", "tcp 1F 12 10 07 (4) 1F 12 10 = voice chip: voice prompt 7", "voice prompt 7"},
        {"1F 12 10 16", "tcp 1F 12 10 16 (4) 1F 12 10 = voice chip: voice prompt 22", "voice prompt 22"},
        {"1F 13 05 31 32 2E 35 30", "tcp 1F 13 05 31 32 2E 35 30 (8) 1F 13 = voice chip: amount 12.50",
         "amount 12.50"},
        {"1F 13 01 2E", "tcp 1F 13 01 2E (4) 1F 13 = voice chip: amount .", "amount ."},
        {"1F 13 03 31 32 61", "tcp 1F 13 03 31 32 61 (6) 1F 13 = voice chip: \"12a\" is not an amount, nothing said",
         ""},
        {"1F 13 00", "tcp 1F 13 00 (3) 1F 13 = voice chip: no amount, nothing said", ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.bytes);
        PrinterProbe p;
        p.FeedHex(row.bytes);
        ASSERT_EQ(p.logs.size(), 1u);
        EXPECT_EQ(Describe(p.logs[0]), row.log);
        EXPECT_EQ(p.voices, row.said[0] ? std::vector<std::string>{row.said} : std::vector<std::string>{});
        p.interpreter.Idle();
        EXPECT_TRUE(p.receipts.empty()) << "nothing printed";
    }
}

} // namespace
} // namespace tallyx::vprinter::test
