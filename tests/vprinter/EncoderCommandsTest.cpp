// The commands real ESC/POS encoders send, as a TM-T88-class printer carries them out:
// profiles, positions and print areas, tab stops, raster graphics, cuts, and commands
// that are skipped by their length.
#include <gtest/gtest.h>

#include "tests/vprinter/PrinterProbe.h"

namespace tallyx::vprinter::test {
namespace {

// The x of each glyph of the first line holding `text`.
std::vector<int> XsOf(const Receipt& receipt, std::string_view text)
{
    std::vector<int> xs;
    for (const Glyph& g : GlyphsOf(receipt, text)) xs.push_back(g.x);
    return xs;
}

std::vector<std::string> Unknown(const std::vector<LogRecord>& logs)
{
    std::vector<std::string> unknown;
    for (const LogRecord& r : logs)
        if (r.mnemonic == "unknown" || r.mnemonic == "incomplete") unknown.push_back(Describe(r));
    return unknown;
}

TEST(Profiles, StartInTheirOwnCharacterMode)
{
    // 82 8A: "éè" in PC437, one GBK character in Chinese mode.
    PrinterProbe zh;
    zh.FeedHex("82 8A 0A");
    EXPECT_EQ(PrintedText(zh.interpreter.CurrentReceipt()), "\xE5\x80\x9E\n") << "GBK 828A";
    TmT88Probe tm;
    tm.FeedHex("82 8A 0A 1B 40 82 0A");
    EXPECT_EQ(PrintedText(tm.interpreter.CurrentReceipt()), "éè\né\n") << "ESC @ keeps single-byte mode";
    EXPECT_EQ(tm.interpreter.PaperDots(), 576);
}

TEST(Profiles, NumberCodePagesAsTheirMakerDoes)
{
    struct Row {
        const char* bytes;
        const char* zh;
        const char* tm;
    };
    const Row rows[] = {
        {"1B 74 11 E9 0A", "щ\n", "щ\n"},                 // 17: PC866 in both
        {"1B 74 0B E1 0A", "\u25A1\n", "η\n"},            // 11: PC851 for Epson, no page for the vendor
        {"1B 74 2E EF 0A", "\u25A1\n", "п\n"},            // 46: WPC1251 for Epson
        {"1B 74 01 95 B1 0A", "─ｱ\n", "─ｱ\n"},            // Katakana page: its rule and a katakana
        {"1B 74 20 E0 0A", "\u05D0\n", "ض\n"},           // 32: WPC1255 for the vendor, PC720 (as data) for Epson
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.bytes);
        PrinterProbe zh(kPaper58Dots, []{ PrinterState s; s.printMode = 0; return s; }());
        zh.FeedHex(row.bytes);
        EXPECT_EQ(PrintedText(zh.interpreter.CurrentReceipt()), row.zh);
        TmT88Probe tm;
        tm.FeedHex(row.bytes);
        EXPECT_EQ(PrintedText(tm.interpreter.CurrentReceipt()), row.tm);
    }
}

TEST(Profiles, FactoryResetReturnsToTheProfilesSettings)
{
    TmT88Probe tm;
    tm.FeedHex("1B 4E 03 01 1F 1B 19");
    EXPECT_EQ(tm.state.printMode, 0) << "single-byte mode, as a TM-T88 leaves the factory";
}

TEST(Profiles, EpsonPrintsTheTextAtTheTopOfItsLine)
{
    // ESC 3 40: the line feeds 40 dots; a TM-T88 prints its 24-dot text at the top.
    TmT88Probe tm;
    tm.FeedHex("1B 33 28 41 0A");
    const auto& tmLine = std::get<TextLine>(tm.interpreter.CurrentReceipt().blocks.at(0));
    EXPECT_EQ(tmLine.height, 40);
    EXPECT_EQ(tmLine.textHeight, 24);
    PrinterProbe zh;
    zh.FeedHex("1B 33 28 41 0A");
    EXPECT_EQ(std::get<TextLine>(zh.interpreter.CurrentReceipt().blocks.at(0)).textHeight, 0) << "at the foot, as before";
}

TEST(EncoderCommands, ExtendedFunctionsAreSkippedByTheirLength)
{
    // FS ( A (receiptline), ESC ( A, GS ( E, GS ( L NV function, GS 8 L unknown function,
    // DLE DC4 8, GS g 0, GS z 0: none of their bytes is text.
    TmT88Probe p;
    p.FeedHex("1C 28 41 02 00 30 00 1B 28 41 04 00 30 30 31 32 1D 28 45 03 00 01 49 4E "
              "1D 28 4C 06 00 30 45 20 20 01 01 1D 38 4C 03 00 00 00 30 7F 41 "
              "10 14 08 01 03 14 01 06 02 08 1D 67 30 00 00 00 1D 7A 30 01 02 "
              "4F 4B 0A");
    EXPECT_EQ(PrintedText(p.interpreter.CurrentReceipt()), "OK\n");
    EXPECT_EQ(Unknown(p.logs), std::vector<std::string>{});
}

TEST(EncoderCommands, PositionsPlaceTheNextCharacter)
{
    // ESC $ 192 dots, then ESC \ -24 dots: receiptline's columns.
    TmT88Probe p;
    p.FeedHex("41 1B 24 C0 00 42 1B 5C E8 FF 43 0A");
    EXPECT_EQ(XsOf(p.interpreter.CurrentReceipt(), "A"), std::vector<int>{0});
    EXPECT_EQ(XsOf(p.interpreter.CurrentReceipt(), "B"), std::vector<int>{192});
    EXPECT_EQ(XsOf(p.interpreter.CurrentReceipt(), "C"), std::vector<int>{180}) << "204 - 24";
    TmT88Probe outside;
    outside.FeedHex("1B 24 40 02 41 0A");
    EXPECT_EQ(XsOf(outside.interpreter.CurrentReceipt(), "A"), std::vector<int>{0}) << "576 is off the paper";
    EXPECT_EQ(outside.logs[0].meaning, "absolute print position: outside the print area, ignored");
}

TEST(EncoderCommands, PrintAreaHoldsTheLineAndItsAlignment)
{
    // GS L 48, GS W 240: the area runs from 48 to 288.
    TmT88Probe p;
    p.FeedHex("1D 4C 30 00 1D 57 F0 00 41 0A 1B 61 01 42 0A 1B 61 02 43 0A 1B 61 00 1B 40 44 0A");
    const Receipt& r = p.interpreter.CurrentReceipt();
    EXPECT_EQ(XsOf(r, "A"), std::vector<int>{48});
    EXPECT_EQ(XsOf(r, "B"), std::vector<int>{48 + (240 - 12) / 2});
    EXPECT_EQ(XsOf(r, "C"), std::vector<int>{288 - 12});
    EXPECT_EQ(XsOf(r, "D"), std::vector<int>{0}) << "ESC @ gives the whole paper back";
    TmT88Probe wrap;
    wrap.FeedHex("1D 57 18 00 41 42 43 0A");
    EXPECT_EQ(PrintedText(wrap.interpreter.CurrentReceipt()), "AB\nC\n") << "two characters fill 24 dots";
}

TEST(EncoderCommands, TabStopsAreSetInCharactersOfTheFont)
{
    // ESC D 4 10 00: stops at 48 and 120 dots; a third HT has no stop to go to.
    TmT88Probe p;
    p.FeedHex("1B 44 04 0A 00 09 41 09 42 09 43 0A");
    const Receipt& r = p.interpreter.CurrentReceipt();
    EXPECT_EQ(XsOf(r, "A"), std::vector<int>{48});
    EXPECT_EQ(XsOf(r, "B"), std::vector<int>{120});
    EXPECT_EQ(XsOf(r, "C"), std::vector<int>{132});
    EXPECT_EQ(p.logs[0].meaning, "set tab stops: 2 stops");
    TmT88Probe cleared;
    cleared.FeedHex("1B 44 00 09 41 0A");
    EXPECT_EQ(XsOf(cleared.interpreter.CurrentReceipt(), "A"), std::vector<int>{0});
}

TEST(EncoderCommands, LineWithOnlyAMoveStillFeeds)
{
    PrinterProbe p;
    p.FeedHex("09 0A 41 0A");
    const Receipt& r = p.interpreter.CurrentReceipt();
    ASSERT_EQ(r.blocks.size(), 2u);
    EXPECT_EQ(std::get<Feed>(r.blocks[0]).dots, 30);
}

TEST(EncoderCommands, RasterGraphicsAreStoredThenPrinted)
{
    // Function 112: 10 x 2 dots, magnified 2 x 1, rows 80 40 / 00 40 (dots 0 and 9, then 9).
    const char* store112 = "30 70 30 02 01 31 0A 00 02 00 80 40 00 40";
    for (const char* header : {"1D 28 4C 0E 00 ", "1D 38 4C 0E 00 00 00 "}) {
        SCOPED_TRACE(header);
        TmT88Probe p;
        p.FeedHex(std::string(header) + store112);
        EXPECT_EQ(p.interpreter.CurrentReceipt().blocks.size(), 0u) << "stored, not yet printed";
        p.FeedHex("1B 61 01 1D 28 4C 02 00 30 32");
        const Receipt& r = p.interpreter.CurrentReceipt();
        ASSERT_EQ(r.blocks.size(), 1u);
        const Picture& pic = std::get<Picture>(r.blocks[0]);
        EXPECT_EQ(pic.width, 20);
        EXPECT_EQ(pic.height, 2);
        EXPECT_EQ(pic.x, (576 - 20) / 2);
        std::string dots;
        for (int row = 0; row < 2; ++row)
            for (int col = 0; col < 20; ++col) dots += pic.Dot(col, row) ? '#' : '.';
        EXPECT_EQ(dots, "##................##..................##");
        p.FeedHex("1D 28 4C 02 00 30 32");
        EXPECT_EQ(p.LastLog().meaning, "graphics: print the stored graphics: none stored");
    }
}

TEST(EncoderCommands, CutsAreToldApart)
{
    struct Row {
        const char* bytes;
        CutKind cut;
        int feedDots;   // fed before the cut
    };
    const Row rows[] = {
        {"1D 56 00", CutKind::Full, 0},     {"1D 56 30", CutKind::Full, 0},     {"1D 56 01", CutKind::Partial, 0},
        {"1D 56 31", CutKind::Partial, 0},  {"1D 56 41 05", CutKind::Full, 5},  {"1D 56 42 05", CutKind::Partial, 5},
        {"1D 56 61 05", CutKind::Full, 5},  {"1D 56 62 05", CutKind::Partial, 5}, {"1D 56 67 05", CutKind::Full, 5},
        {"1D 56 68 05", CutKind::Partial, 5}, {"1B 69", CutKind::Partial, 0},   {"1B 6D", CutKind::Partial, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.bytes);
        TmT88Probe p;
        p.FeedHex(std::string("41 0A ") + row.bytes + " 42 0A");
        ASSERT_EQ(p.receipts.size(), 1u);
        EXPECT_EQ(p.receipts[0].cut, row.cut);
        EXPECT_EQ(p.receipts[0].heightDots, 30 + row.feedDots);
        EXPECT_EQ(PrintedText(p.interpreter.CurrentReceipt()), "B\n") << "the byte after the cut is text";
    }
}

TEST(EncoderCommands, PaperFedAfterACutJoinsTheNextReceipt)
{
    TmT88Probe p;
    p.FeedHex("41 0A 1D 56 00 0A 0A 1B 64 03");
    p.interpreter.Idle();
    EXPECT_EQ(p.receipts.size(), 1u) << "no blank receipt";
    p.FeedHex("42 0A 1D 56 00");
    ASSERT_EQ(p.receipts.size(), 2u);
    EXPECT_EQ(PrintedText(p.receipts[1]), "\n\n\nB\n");
    EXPECT_EQ(p.receipts[1].heightDots, 2 * 30 + 3 * 30 + 30);
}

} // namespace
} // namespace tallyx::vprinter::test
