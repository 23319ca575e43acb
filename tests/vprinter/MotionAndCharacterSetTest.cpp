// ESC SP, ESC R and GS P as a TM-T88-class printer carries them out, and ESC @ undoing them.
#include <gtest/gtest.h>

#include "tests/vprinter/PrinterProbe.h"

namespace tallyx::vprinter::test {
namespace {

std::string LastLine(const Receipt& r)
{
    const std::string all = Describe(r);
    const size_t end = all.rfind('\n', all.size() - 2);
    return all.substr(end + 1, all.size() - end - 2);
}

TEST(RightSideSpacing, FollowsEachSingleByteCellAndGrowsWithItsWidth)
{
    TmT88Probe p;
    p.FeedHex("1B 20 03 41 42 0A");
    EXPECT_EQ(LastLine(p.interpreter.CurrentReceipt()), "line 30: A@0/12x240+3 B@15/12x240+3");
    EXPECT_EQ(Describe(p.LastLog()), "tcp 0A (1) LF = print and feed a line");
    EXPECT_EQ(Describe(p.logs[0]), "tcp 1B 20 03 (3) ESC SP = right-side character spacing: 3 dots");

    p.FeedHex("1D 21 10 41 42 0A");   // double width: the spacing doubles too
    EXPECT_EQ(LastLine(p.interpreter.CurrentReceipt()), "line 30: A@0/24x240+6 B@30/24x240+6");

    p.FeedHex("1B 40 41 42 0A");
    EXPECT_EQ(LastLine(p.interpreter.CurrentReceipt()), "line 30: A@0/12x240 B@12/12x240");
}

TEST(RightSideSpacing, NeverPassesTheRightEdge)
{
    TmT88Probe p;
    p.FeedHex("1B 20 FF");
    p.FeedBytes(std::string(3, 'W') + "\n");
    // 12 + 255 dots a character: the third one's spacing is what is left of the line
    EXPECT_EQ(LastLine(p.interpreter.CurrentReceipt()), "line 30: W@0/12x240+255 W@267/12x240+255 W@534/12x240+30");
}

TEST(InternationalSets, ReplaceTheTwelveNationalCodesUntilInitialised)
{
    struct Row {
        const char* command;
        const char* printed;
        const char* meaning;
    };
    const Row rows[] = {
        {"1B 52 02", "#$§ÄÖÜ^`äöüß", "international character set: 2 (Germany)"},
        {"1B 52 03", "£$@[\\]^`{|}~", "international character set: 3 (U.K.)"},
        {"1B 52 08", "#$@[¥]^`{|}~", "international character set: 8 (Japan)"},
        {"1B 52 0E", "#$ŽŠĐĆČžšđćč", "international character set: 14 (Slovenia/Croatia)"},
        {"1B 52 63", "#$@[\\]^`{|}~", "international character set: no set 99 on this printer, ignored"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.command);
        TmT88Probe p;
        p.FeedHex(row.command);
        EXPECT_EQ(p.LastLog().meaning, row.meaning);
        p.FeedHex("23 24 40 5B 5C 5D 5E 60 7B 7C 7D 7E 41 0A");
        EXPECT_EQ(PrintedText(p.interpreter.CurrentReceipt()), std::string(row.printed) + "A\n");
    }
    TmT88Probe p;
    p.FeedHex("1B 52 02 1B 40 5B 0A");
    EXPECT_EQ(PrintedText(p.interpreter.CurrentReceipt()), "[\n");
}

TEST(MotionUnits, ScaleThePositionsAndFeedsThatFollowThem)
{
    TmT88Probe p;   // 203 dots an inch
    p.FeedHex("1D 50 65 33");
    EXPECT_EQ(p.LastLog().meaning, "motion units: across 1/101 inch, along 1/51 inch");
    p.FeedHex("1B 24 0A 00 41 0A");   // 10/101 inch: 20.1 dots
    EXPECT_EQ(LastLine(p.interpreter.CurrentReceipt()), "line 30: A@20/12x240");
    p.FeedHex("1B 4A 0A");            // 10/51 inch: 39.8 dots
    EXPECT_EQ(Describe(p.LastLog()), "tcp 1B 4A 0A (3) ESC J = print and feed dots: 39 dots");
    p.FeedHex("1B 33 05 42 0A");      // 5/51 inch: 19.9 dots
    EXPECT_EQ(LastLine(p.interpreter.CurrentReceipt()), "line 24: B@0/12x240");
    p.FeedHex("1B 20 05");
    EXPECT_EQ(p.LastLog().meaning, "right-side character spacing: 10 dots");

    // What was set before stays in its dots; ESC @ brings the printer's own unit back.
    p.FeedHex("1D 50 00 00 43 0A");
    EXPECT_EQ(LastLine(p.interpreter.CurrentReceipt()), "line 24: C@0/12x240+10");
    p.FeedHex("1D 50 65 33 1B 40 1B 24 0A 00 44 0A");
    EXPECT_EQ(LastLine(p.interpreter.CurrentReceipt()), "line 30: D@10/12x240");
}

TEST(PictureClipping, APicturePastAWideLeftMarginIsCutAtThePaperEdge)
{
    PrinterProbe p;   // 384 dots
    p.FeedHex("1D 4C 70 01 1D 76 30 00 04 00 01 00 FF FF FF FF");   // margin 368, 32 dots wide
    p.interpreter.Idle();
    ASSERT_EQ(p.receipts.size(), 1u);
    EXPECT_EQ(Describe(p.receipts[0]), "receipt 384x1\npicture 368 16x1 1111111111111111\n");
}

} // namespace
} // namespace tallyx::vprinter::test
