// Every command the tool's main window sends, as the printer takes it.
#include <gtest/gtest.h>

#include "tests/vprinter/PrinterProbe.h"

namespace tallyx::vprinter::test {
namespace {

using tallyx::test::Hex;

TEST(MainWindowCommands, PlainTextPrintsOneCellPerCharacterOnLineFeed)
{
    PrinterProbe p;
    p.FeedBytes("ABC");
    EXPECT_TRUE(p.interpreter.CurrentReceipt().Empty()) << "nothing is printed before the line feed";
    p.FeedHex("0A");
    const auto glyphs = GlyphsOf(p.interpreter.CurrentReceipt(), "ABC");
    ASSERT_EQ(glyphs.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(glyphs[i].x, 12 * i);
        EXPECT_EQ(glyphs[i].width, 12);
        EXPECT_EQ(glyphs[i].height, 24);
    }
    EXPECT_EQ(p.interpreter.CurrentReceipt().heightDots, 30);
    ASSERT_EQ(p.logs.size(), 2u);
    EXPECT_EQ(Describe(p.logs[0]), "tcp 41 42 43 (3) text = print \"ABC\"");
    EXPECT_EQ(Describe(p.logs[1]), "tcp 0A (1) LF = print and feed a line");
}

TEST(MainWindowCommands, InitialiseDropsTheOpenLineAndResetsTheStyle)
{
    PrinterProbe p;
    p.FeedHex("1B 45 01 1D 21 11 41 42");
    p.FeedHex("1B 40 0A");
    EXPECT_EQ(Describe(p.interpreter.CurrentReceipt()), "receipt 384x30\nfeed 30\n");
    EXPECT_FALSE(p.interpreter.Style().bold);
    EXPECT_EQ(p.interpreter.Style().scaleW, 1);
    EXPECT_EQ(p.logs[p.logs.size() - 2].mnemonic, "ESC @");
}

TEST(MainWindowCommands, UnderlineSetsBothSingleAndDoubleByteUnderline)
{
    PrinterProbe p;
    p.FeedHex("1B 2D 02 1C 2D 02 0A");
    EXPECT_EQ(p.interpreter.Style().underline, 2);
    EXPECT_EQ(p.interpreter.Style().underlineWide, 2);
    p.FeedHex("1C 26 41 D6 D0 0A");   // FS &: Chinese mode, then A and 中
    const auto glyphs = GlyphsOf(p.interpreter.CurrentReceipt(), "A中");
    ASSERT_EQ(glyphs.size(), 2u);
    EXPECT_EQ(glyphs[0].underline, 2);
    EXPECT_EQ(glyphs[1].underline, 2);
    EXPECT_TRUE(glyphs[1].wide);
    EXPECT_EQ(glyphs[1].width, 24);
}

TEST(MainWindowCommands, FormattingSwitchesMarkTheGlyphs)
{
    struct Row {
        const char* bytes;
        bool Glyph::* flag;
    } rows[] = {
        {"1B 45 01", &Glyph::bold},
        {"1B 56 01", &Glyph::rotated},
        {"1B 7B 01", &Glyph::upsideDown},
        {"1D 42 01", &Glyph::reverse},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.bytes);
        PrinterProbe p;
        p.FeedBytes("A\n");
        p.FeedHex(row.bytes);
        p.FeedBytes("A\n");
        const auto& blocks = p.interpreter.CurrentReceipt().blocks;
        ASSERT_EQ(blocks.size(), 2u);
        EXPECT_FALSE(std::get<TextLine>(blocks[0]).glyphs[0].*row.flag);
        EXPECT_TRUE(std::get<TextLine>(blocks[1]).glyphs[0].*row.flag);
    }
}

TEST(MainWindowCommands, RotatedTextIsNeverUnderlined)
{
    PrinterProbe p;
    p.FeedHex("1B 2D 01 1B 56 01 41 0A");
    EXPECT_EQ(GlyphsOf(p.interpreter.CurrentReceipt(), "A").at(0).underline, 0);
}

TEST(MainWindowCommands, UpsideDownLineReadsRightToLeft)
{
    PrinterProbe p;
    p.FeedHex("1B 7B 01 41 42 0A");
    const auto glyphs = GlyphsOf(p.interpreter.CurrentReceipt(), "AB");
    ASSERT_EQ(glyphs.size(), 2u);
    EXPECT_EQ(glyphs[0].x, 372);
    EXPECT_EQ(glyphs[1].x, 360);
}

TEST(MainWindowCommands, AlignmentPlacesTheLine)
{
    struct Row {
        const char* command;
        int x;
    } rows[] = {{"1B 61 00", 0}, {"1B 61 01", 180}, {"1B 61 02", 360}, {"1B 61 03", 0}, {"1B 61 31", 180}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.command);
        PrinterProbe p;
        p.FeedHex(row.command);
        p.FeedBytes("AB\n");
        EXPECT_EQ(GlyphsOf(p.interpreter.CurrentReceipt(), "AB").at(0).x, row.x);
    }
}

TEST(MainWindowCommands, MagnificationScalesTheCell)
{
    struct Row {
        const char* command;
        int width, height;
    } rows[] = {
        {"1D 21 00", 12, 24}, {"1D 21 11", 24, 48}, {"1D 21 22", 36, 72},
        {"1D 21 33", 48, 96}, {"1D 21 44", 60, 120}, {"1D 21 77", 96, 192},
        {"1D 21 88", 12, 24},   // nine times: out of range, ignored
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.command);
        PrinterProbe p;
        p.FeedHex(row.command);
        p.FeedBytes("A\n");
        const Glyph g = GlyphsOf(p.interpreter.CurrentReceipt(), "A").at(0);
        EXPECT_EQ(g.width, row.width);
        EXPECT_EQ(g.height, row.height);
    }
}

TEST(MainWindowCommands, StoredSettingsTakeValidValuesOnly)
{
    struct Row {
        const char* command;
        bool accepted;
        std::function<int(const PrinterState&)> read;
        int value;
    } rows[] = {
        {"1B 4E 03 00", true, [](auto& s) { return s.printMode; }, 0},
        {"1B 4E 03 01", true, [](auto& s) { return s.printMode; }, 1},
        {"1B 4E 03 02", false, [](auto& s) { return s.printMode; }, 1},
        {"1B 4E 04 01", true, [](auto& s) { return s.density; }, 1},
        {"1B 4E 04 04", true, [](auto& s) { return s.density; }, 4},
        {"1B 4E 04 00", false, [](auto& s) { return s.density; }, 3},
        {"1B 4E 04 05", false, [](auto& s) { return s.density; }, 3},
        {"1B 4E 01 00", true, [](auto& s) { return s.baudIndex; }, 0},
        {"1B 4E 01 05", true, [](auto& s) { return s.baudIndex; }, 5},
        {"1B 4E 01 06", false, [](auto& s) { return s.baudIndex; }, 1},
        {"1F 1B 11 00", true, [](auto& s) { return int(s.buzzer); }, 0},
        {"1F 1B 11 01", true, [](auto& s) { return int(s.buzzer); }, 1},
        {"1F 1B 11 02", false, [](auto& s) { return int(s.buzzer); }, 1},
        {"1F 1B 12 00", true, [](auto& s) { return int(s.cutter); }, 0},
        {"1F 1B 12 02", false, [](auto& s) { return int(s.cutter); }, 1},
        {"1F 1B 1F FA 00", true, [](auto& s) { return s.font; }, 0},
        {"1F 1B 1F FA 02", true, [](auto& s) { return s.font; }, 2},
        {"1F 1B 1F FA 03", false, [](auto& s) { return s.font; }, 0},
        {"1F 1B 1F FF 5D", true, [](auto& s) { return s.codePage; }, 0x5D},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.command);
        PrinterProbe p;
        p.FeedHex(row.command);
        EXPECT_EQ(row.read(p.state), row.value);
        EXPECT_EQ(p.stateChanges, row.accepted ? 1 : 0);
        EXPECT_EQ(p.LastLog().meaning.find("ignored") == std::string::npos, row.accepted);
        EXPECT_TRUE(p.interpreter.CurrentReceipt().Empty()) << "a setting prints nothing";
    }
}

TEST(MainWindowCommands, ChinesePrintModeReadsGbkPairs)
{
    PrinterProbe p;
    p.FeedHex("D6 D0 CE C4 0A");   // Chinese mode from the factory
    p.FeedHex("1B 4E 03 00 D6 D0 0A");   // single-byte mode: two code page characters
    p.FeedHex("1B 4E 03 01 D6 D0 CE C4 0A");
    const Receipt& r = p.interpreter.CurrentReceipt();
    ASSERT_EQ(r.blocks.size(), 3u);
    EXPECT_EQ(PrintedText(r), "中文\n╓╨\n中文\n");
    EXPECT_TRUE(std::get<TextLine>(r.blocks[0]).glyphs[0].wide);
    EXPECT_FALSE(std::get<TextLine>(r.blocks[1]).glyphs[0].wide);
    EXPECT_EQ(p.state.printMode, 1);
}

TEST(MainWindowCommands, TheToolsDefaultTestTextPrintsAsTyped)
{
    // The print-test box's three lines, in GBK, as a printer fresh from the factory gets them.
    PrinterProbe p;
    p.FeedBytes("1234567890ABCDEFGHIJKLMNOPQRSTUV\r\nWXYZabcdefgjilklmnopqrstuvwxyz&*\r\n"
                "Zorvik\xB4\xF2\xD3\xA1\xBB\xFA\xC6\xB7\xC5\xC6\r\n");
    EXPECT_EQ(PrintedText(p.interpreter.CurrentReceipt()),
              "1234567890ABCDEFGHIJKLMNOPQRSTUV\nWXYZabcdefgjilklmnopqrstuvwxyz&*\nZorvik打印机品牌\n");
}

TEST(MainWindowCommands, SelfTestPageListsTheStoredSettingsAndIsCut)
{
    PrinterProbe p;
    p.FeedHex("1B 4E 01 05 1B 4E 04 02 1F 1B 11 00");
    p.FeedHex("1F 11 04");
    ASSERT_EQ(p.receipts.size(), 1u);
    const std::string text = PrintedText(p.receipts[0]);
    for (const char* expected : {"SELF-TEST", "Baud: 115200", "Density: Level2", "Buzzer: OFF", "Cutter: ON",
                                 "IP: 192.168.1.100", "Mask: 255.255.255.0", "Gateway: 192.168.1.1",
                                 "DNS: 192.168.1.1", "DHCP: OFF", "Font: Font_1", "中文打印测试"}) {
        SCOPED_TRACE(expected);
        EXPECT_NE(text.find(expected), std::string::npos) << text;
    }
}

TEST(MainWindowCommands, SelfTestButtonLineFeedStartsTheNextReceipt)
{
    PrinterProbe p;
    p.FeedHex("1F 11 04 0A 1F 11 04 0A");
    EXPECT_EQ(p.receipts.size(), 2u);
    EXPECT_EQ(Describe(p.interpreter.CurrentReceipt()), "receipt 384x30\nfeed 30\n");
}

TEST(MainWindowCommands, SelfTestWithoutCutterWaitsForSilence)
{
    PrinterProbe p;
    p.FeedHex("1F 1B 12 00 1F 11 04");
    EXPECT_TRUE(p.receipts.empty());
    p.interpreter.Idle();
    EXPECT_EQ(p.receipts.size(), 1u);
}

TEST(MainWindowCommands, HexModePrintsEverythingAfterItAsHexLines)
{
    PrinterProbe p;
    p.FeedHex("1F 11 03 1B 45 01 41 0A 42 43 44");
    EXPECT_FALSE(p.interpreter.Style().bold) << "commands after it are not obeyed";
    EXPECT_TRUE(p.interpreter.HexDumpMode());
    p.interpreter.Idle();
    ASSERT_EQ(p.receipts.size(), 1u);
    EXPECT_EQ(PrintedText(p.receipts[0]), "1B 45 01 41 0A 42 43  .E.A.BC\n44" + std::string(20, ' ') + "D\n");
    EXPECT_FALSE(p.interpreter.HexDumpMode());
    EXPECT_EQ(p.logs.back().mnemonic, "hex dump");
}

TEST(MainWindowCommands, DrawerAndBuzzerTestsAreLoggedNotPrinted)
{
    PrinterProbe p;
    p.FeedHex("1B 70 00 30 30 00 1B 70 01 30 30");
    p.FeedHex("1B 42 03 02");
    ASSERT_EQ(p.logs.size(), 4u);
    EXPECT_EQ(Describe(p.logs[0]), "tcp 1B 70 00 30 30 (5) ESC p = cash drawer pulse: pin 2, on 96 ms, off 96 ms");
    EXPECT_EQ(p.logs[1].mnemonic, "NUL");
    EXPECT_EQ(Describe(p.logs[2]), "tcp 1B 70 01 30 30 (5) ESC p = cash drawer pulse: pin 5, on 96 ms, off 96 ms");
    EXPECT_EQ(Describe(p.logs[3]), "tcp 1B 42 03 02 (4) ESC B = sound the buzzer: 3 times, 100 ms each");
    EXPECT_TRUE(p.interpreter.CurrentReceipt().Empty());
    p.interpreter.Idle();
    EXPECT_TRUE(p.receipts.empty());
}

TEST(MainWindowCommands, NetworkQueryAnswersTheStoredParameters)
{
    PrinterProbe p;
    p.FeedHex("10 04 13");
    ASSERT_EQ(p.replies.size(), 1u);
    EXPECT_EQ(Hex(p.replies[0]), "C0 A8 01 64 FF FF FF 00 C0 A8 01 01 C0 A8 01 01 01 00 00 00 00 00");
}

TEST(MainWindowCommands, NetworkCommandChangesTheReply)
{
    struct Row {
        const char* command;
        const char* reply;
        int changes;
    } rows[] = {
        {"1F 1B 1D 02 C0 A8 01 C8 FF FF FF 00 C0 A8 01 01 08 08 08 08 01",
         "C0 A8 01 C8 FF FF FF 00 C0 A8 01 01 08 08 08 08 01 00 00 00 00 00", 1},
        // DHCP on: the addresses of the command (all zero) are not taken.
        {"1F 1B 1D 02 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 02",
         "C0 A8 01 64 FF FF FF 00 C0 A8 01 01 C0 A8 01 01 02 00 00 00 00 00", 1},
        // No DHCP selection in the tool sends 00: refused.
        {"1F 1B 1D 02 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00",
         "C0 A8 01 64 FF FF FF 00 C0 A8 01 01 C0 A8 01 01 01 00 00 00 00 00", 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.command);
        PrinterProbe p;
        p.FeedHex(row.command);
        p.FeedHex("10 04 13");
        ASSERT_EQ(p.replies.size(), 1u);
        EXPECT_EQ(Hex(p.replies[0]), row.reply);
        EXPECT_EQ(p.stateChanges, row.changes);
    }
}

TEST(MainWindowCommands, FactoryResetRestoresEveryDefault)
{
    PrinterProbe p;
    p.FeedHex("1B 4E 03 00 1B 4E 04 01 1B 4E 01 05 1F 1B 11 00 1F 1B 12 00 1F 1B 1F FA 02 1F 1B 1F FF 10");
    p.FeedHex("1F 1B 1D 02 0A 00 00 05 FF 00 00 00 0A 00 00 01 0A 00 00 01 02");
    p.FeedHex("1C 72 01 01 00 01 00 FF FF FF FF FF FF FF FF");
    ASSERT_FALSE(p.state == PrinterState{});
    p.FeedHex("1F 1B 19");
    EXPECT_TRUE(p.state == PrinterState{});
    EXPECT_TRUE(p.interpreter.ChineseMode()) << "Chinese, as from the factory";
    p.FeedHex("D6 D0 0A");
    EXPECT_EQ(PrintedText(p.interpreter.CurrentReceipt()), "中\n");
    p.FeedHex("10 04 13");
    EXPECT_EQ(Hex(p.replies.back()), "C0 A8 01 64 FF FF FF 00 C0 A8 01 01 C0 A8 01 01 01 00 00 00 00 00");
}

} // namespace
} // namespace tallyx::vprinter::test
