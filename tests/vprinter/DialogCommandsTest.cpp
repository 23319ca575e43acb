// The commands of the tool's dialogs: pictures, logos, symbols, code pages, cutter, voice.
#include <gtest/gtest.h>

#include "tests/vprinter/PrinterProbe.h"

namespace tallyx::vprinter::test {
namespace {

std::string Repeat(const char* hexByte, int count)
{
    std::string out;
    for (int i = 0; i < count; ++i) out += std::string(" ") + hexByte;
    return out;
}

const Picture& OnlyPicture(const Receipt& r)
{
    EXPECT_EQ(r.blocks.size(), 1u);
    return std::get<Picture>(r.blocks.at(0));
}

TEST(DialogCommands, TestPictureDefinesAndPrintsTheDownloadedImage)
{
    PrinterProbe p;
    p.FeedHex("1D 2A 01 01" + Repeat("FF", 8) + " 1D 2F 00 0A 0A");
    const auto& blocks = p.interpreter.CurrentReceipt().blocks;
    ASSERT_EQ(blocks.size(), 3u);   // the picture and two line feeds
    const Picture& pic = std::get<Picture>(blocks[0]);
    EXPECT_EQ(pic.width, 8);
    EXPECT_EQ(pic.height, 8);
    EXPECT_EQ(std::count(pic.dots.begin(), pic.dots.end(), 1), 64);
}

TEST(DialogCommands, ColumnLayoutPutsTheMostSignificantBitOnTop)
{
    // 16 x 16 dots: column 0 byte 0 = 80 (top-left dot), column 15 byte 1 = 01 (bottom-right dot).
    PrinterProbe p;
    std::string data = " 80 00" + Repeat("00", 28) + " 00 01";
    p.FeedHex("1D 2A 02 02" + data + " 1D 2F 00");
    const Picture& pic = OnlyPicture(p.interpreter.CurrentReceipt());
    ASSERT_EQ(pic.width, 16);
    ASSERT_EQ(pic.height, 16);
    EXPECT_EQ(std::count(pic.dots.begin(), pic.dots.end(), 1), 2);
    EXPECT_TRUE(pic.Dot(0, 0));
    EXPECT_TRUE(pic.Dot(15, 15));
}

TEST(DialogCommands, LogoPrintsInFourSizes)
{
    struct Row {
        const char* mode;
        int width, height;
    } rows[] = {{"30", 8, 8}, {"31", 16, 8}, {"32", 8, 16}, {"33", 16, 16}, {"00", 8, 8}, {"03", 16, 16}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.mode);
        PrinterProbe p;
        p.FeedHex("1C 72 02 01 00 01 00" + Repeat("FF", 8) + " 1B 40");
        ASSERT_TRUE(p.state.logos[1].has_value());
        EXPECT_EQ(p.stateChanges, 1);
        p.FeedHex(std::string("1B 61 01 1C 70 02 ") + row.mode + " 1B 61 00");
        const Picture& pic = OnlyPicture(p.interpreter.CurrentReceipt());
        EXPECT_EQ(pic.width, row.width);
        EXPECT_EQ(pic.height, row.height);
        EXPECT_EQ(pic.x, (384 - row.width) / 2) << "centred by ESC a 1";
        EXPECT_EQ(std::count(pic.dots.begin(), pic.dots.end(), 1), row.width * row.height);
    }
}

TEST(DialogCommands, LogoSlotsOutsideOneToFiveAndEmptySlotsPrintNothing)
{
    for (const char* command : {"1C 70 01 30", "1C 70 00 30", "1C 70 06 30", "1C 70 01 34"}) {
        SCOPED_TRACE(command);
        PrinterProbe p;
        p.FeedHex(command);
        EXPECT_TRUE(p.interpreter.CurrentReceipt().Empty());
    }
    PrinterProbe p;
    p.FeedHex("1C 72 06 01 00 01 00" + Repeat("FF", 8));
    EXPECT_EQ(p.stateChanges, 0);
    EXPECT_EQ(p.LastLog().meaning, "store NV logo: no slot 6, ignored");
}

TEST(DialogCommands, ClearLogoStoresABlankLogoAndItsLastByteIsNotPrinted)
{
    PrinterProbe p;
    p.FeedHex("1C 72 03 01 00 01 00 00 00 00 00 00 00 00 00 01");
    ASSERT_TRUE(p.state.logos[2].has_value());
    EXPECT_EQ(p.state.logos[2]->widthDots, 8);
    EXPECT_EQ(p.LastLog().mnemonic, "unknown");
    p.interpreter.Idle();
    EXPECT_TRUE(p.receipts.empty());
}

TEST(DialogCommands, BarcodeIsDrawnWithItsReadableLineBelow)
{
    // The tool's defaults: readable line below, font A, 96 dots high, modules of 3 dots, no margin.
    PrinterProbe p;
    p.FeedHex("1D 48 02 1D 66 00 1D 68 60 1D 77 03 1D 78 00 1D 6B 41 0B 31 32 33 34 35 36 37 38 39 30 31");
    // UPC-A is 95 modules; the check digit of 12345678901 is 2.
    EXPECT_EQ(PrintedText(p.interpreter.CurrentReceipt()), "[picture 285x96]\n123456789012\n");
    EXPECT_EQ(p.interpreter.CurrentReceipt().heightDots, 96 + 24);
    EXPECT_EQ(p.LastLog().meaning, "print barcode: UPC-A 12345678901 (check digit 2 added)");
}

TEST(DialogCommands, BarcodeOfTheTerminatedFormEndsAtItsZeroByte)
{
    PrinterProbe p;
    p.FeedHex("1D 6B 04 41 42 43 00 44 0A");
    // *ABC*: five characters of three wide (8 dots at width 3) and six narrow (3 dots)
    // elements and a narrow gap, less the gap after the last; 162 dots high by default.
    EXPECT_EQ(PrintedText(p.interpreter.CurrentReceipt()), "[picture 222x162]\nD\n");
}

TEST(DialogCommands, QrCodeAndPdf417AreCentred)
{
    struct Row {
        const char* bytes;
        const char* text;
    } rows[] = {
        {"1D 28 6B 03 00 31 43 08 1D 28 6B 03 00 31 45 01 1D 28 6B 06 00 31 50 30 61 62 63 1B 61 31 "
         "1D 28 6B 03 00 31 51 30 1B 61 30",
         "[picture 168x168]\n"},   // version 1: 21 modules of 8 dots
        {"1D 28 6B 03 00 30 41 00 1D 28 6B 03 00 30 42 00 1D 28 6B 03 00 30 43 03 1D 28 6B 03 00 30 44 03 "
         "1D 28 6B 03 00 30 46 00 1D 28 6B 04 00 30 45 30 01 1D 28 6B 06 00 30 50 30 61 62 63 1B 61 31 "
         "1D 28 6B 03 00 30 51 30 1B 61 30",
         "[picture 258x63]\n"},    // 1 column: 17 + 69 modules of 3 dots; 7 rows of 3 x 3 dots
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        PrinterProbe p;
        p.FeedHex(row.bytes);
        EXPECT_EQ(PrintedText(p.interpreter.CurrentReceipt()), row.text);
        const auto& pic = std::get<Picture>(p.interpreter.CurrentReceipt().blocks.at(0));
        EXPECT_EQ(pic.x, (384 - pic.width) / 2);
    }
}

TEST(DialogCommands, CodePageChartPrintsTwoSizesAndCuts)
{
    std::string chart = "1B 40 1C 2E 1B 21 00";
    for (int b = 0x80; b <= 0xFF; ++b) chart += " " + tallyx::test::Hex(Bytes{uint8_t(b)});
    chart += " 0A 0A 1B 21 30";
    for (int b = 0x80; b <= 0xFF; ++b) chart += " " + tallyx::test::Hex(Bytes{uint8_t(b)});
    chart += " 0A 1B 40 1D 56 41 48 1C 26";
    PrinterProbe p;
    p.state.printMode = 1;
    p.FeedHex(chart);
    ASSERT_EQ(p.receipts.size(), 1u);
    const std::string text = PrintedText(p.receipts[0]);
    EXPECT_NE(text.find("ÇüéâäàåçêëèïîìÄÅ"), std::string::npos) << "CP437 from 80 on: " << text;
    EXPECT_TRUE(p.interpreter.ChineseMode()) << "FS & at the end";
}

TEST(DialogCommands, CodePageSettingChangesTheCharacters)
{
    PrinterProbe p;
    // 16: WPC1252, where 80 is the euro sign in single-byte (ASCII) mode.
    p.FeedHex("1B 4E 03 00 1F 1B 1F FF 10 0A 0A 80 0A");
    EXPECT_EQ(p.state.codePage, 16);
    EXPECT_NE(PrintedText(p.interpreter.CurrentReceipt()).find("€"), std::string::npos);
}

TEST(DialogCommands, CutterCycleEndsItsReceipt)
{
    PrinterProbe p;
    p.FeedHex("30 30 30 30 30 30 30 31 0A 0A 1D 56 41 00");
    ASSERT_EQ(p.receipts.size(), 1u);
    EXPECT_EQ(PrintedText(p.receipts[0]), "00000001\n\n");
    EXPECT_EQ(p.LastLog().meaning, "cut the paper: receipt ended");
}

TEST(DialogCommands, CutterSwitchedOffDoesNotCut)
{
    PrinterProbe p;
    p.FeedHex("1F 1B 12 00 41 0A 1D 56 41 00");
    EXPECT_TRUE(p.receipts.empty());
    EXPECT_EQ(p.LastLog().meaning, "cut the paper: cutter switched off: not cut");
}

TEST(DialogCommands, BuzzerSwitchedOffStaysSilent)
{
    PrinterProbe p;
    p.FeedHex("1F 1B 11 00 1B 42 03 02");
    EXPECT_EQ(p.LastLog().meaning, "sound the buzzer: 3 times, 100 ms each (buzzer switched off: silent)");
}

TEST(DialogCommands, StatusRequestsAreAnswered)
{
    PrinterProbe p;
    p.FeedHex("10 04 01 10 04 04 1D 72 01");
    ASSERT_EQ(p.replies.size(), 3u);
    EXPECT_EQ(tallyx::test::Hex(p.replies[0]), "12");
    EXPECT_EQ(tallyx::test::Hex(p.replies[1]), "12");
    EXPECT_EQ(tallyx::test::Hex(p.replies[2]), "00");
}

} // namespace
} // namespace tallyx::vprinter::test
