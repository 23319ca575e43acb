// GS k: every symbology the tool sends, drawn so that a scanner reads back the data sent,
// in both command forms, with the tool's set-up; data a symbology cannot carry draws nothing.
#include <gtest/gtest.h>

#include <set>

#include "tests/vprinter/PrinterProbe.h"
#include "tests/vprinter/SymbolReader.h"

namespace tallyx::vprinter::test {
namespace {

using ZXing::BarcodeFormat;

std::vector<std::string> Read(const PrinterProbe& p, BarcodeFormat format)
{
    return ReadSymbols(ReceiptPicture(p.interpreter.CurrentReceipt()), format);
}

struct Symbology {
    uint8_t formB;
    const char* data;
    BarcodeFormat format;
    const char* decoded;
};

// Data as the tool's barcode dialog sends it (short enough for 2-dot modules on 58 mm paper);
// what a scanner must read.
const Symbology kSymbologies[] = {
    {0x41, "12345678901", BarcodeFormat::UPCA, "123456789012"},   // check digit added
    {0x41, "036000291452", BarcodeFormat::UPCA, "036000291452"},  // check digit given
    {0x42, "123456", BarcodeFormat::UPCE, "01234565"},
    {0x42, "0123456", BarcodeFormat::UPCE, "01234565"},
    {0x42, "01234500006", BarcodeFormat::UPCE, "01234565"},       // UPC-A form, shortened
    {0x42, "012345000065", BarcodeFormat::UPCE, "01234565"},
    {0x42, "01200000345", BarcodeFormat::UPCE, "01234505"},
    {0x42, "04560000008", BarcodeFormat::UPCE, "04560831"},
    {0x42, "04567000008", BarcodeFormat::UPCE, "04567840"},
    {0x43, "690123456789", BarcodeFormat::EAN13, "6901234567892"},
    {0x43, "4006381333931", BarcodeFormat::EAN13, "4006381333931"},
    {0x44, "1234567", BarcodeFormat::EAN8, "12345670"},
    {0x44, "96385074", BarcodeFormat::EAN8, "96385074"},
    {0x45, "AB-1 $/+%.", BarcodeFormat::Code39, "AB-1 $/+%."},
    {0x45, "*ABC*", BarcodeFormat::Code39, "ABC"},
    {0x46, "12345678", BarcodeFormat::ITF, "12345678"},
    {0x46, "12345", BarcodeFormat::ITF, "012345"},                // a leading 0 makes the pairs
    {0x47, "A123-$:/.+B", BarcodeFormat::Codabar, "A123-$:/.+B"},
    {0x48, "CODE93 T-1", BarcodeFormat::Code93, "CODE93 T-1"},
    {0x48, "lower", BarcodeFormat::Code93, "lower"},
    {0x49, "Hello, POS", BarcodeFormat::Code128, "Hello, POS"},
    {0x4A, "(01)0952123454321*(10)AB1", BarcodeFormat::Code128, "010952123454321310AB1"},
    {0x4A, "10AB1{121X", BarcodeFormat::Code128, "10AB1\x1D" "21X"},
    {0x4B, "0952123454321", BarcodeFormat::DataBar, "09521234543213"},
    {0x4C, "0952123454321", BarcodeFormat::DataBar, "09521234543213"},
    {0x4E, "(01)09521234543213(10)A1", BarcodeFormat::DataBarExpanded, "(01)09521234543213(10)A1"},
};

std::string FormB(uint8_t m, std::string_view data)
{
    std::string out = "\x1D\x6B";
    out += char(m);
    out += char(data.size());
    return out + std::string(data);
}

TEST(Barcodes, EverySymbologyReadsBackAsTheDataSent)
{
    for (const Symbology& s : kSymbologies) {
        SCOPED_TRACE(s.data);
        PrinterProbe p;
        p.FeedHex("1D 48 02 1D 66 00 1D 68 60 1D 77 02 1D 78 00");
        p.FeedBytes(FormB(s.formB, s.data));
        EXPECT_EQ(Read(p, s.format), std::vector<std::string>{s.decoded});
    }
}

TEST(Barcodes, FunctionAWithItsZeroByteDrawsWhatFunctionBDraws)
{
    for (const Symbology& s : kSymbologies) {
        if (s.formB > 0x47) continue;   // CODE93 and CODE128 have no function A form
        SCOPED_TRACE(s.data);
        PrinterProbe a, b;
        a.FeedHex("1D 77 02");
        b.FeedHex("1D 77 02");
        a.FeedBytes(std::string("\x1D\x6B") + char(s.formB - 0x41) + s.data + std::string(1, '\0'));
        b.FeedBytes(FormB(s.formB, s.data));
        EXPECT_EQ(Describe(a.interpreter.CurrentReceipt()), Describe(b.interpreter.CurrentReceipt()));
        EXPECT_EQ(Read(a, s.format), std::vector<std::string>{s.decoded});
    }
}

TEST(Barcodes, Code128CodeSetsAreChosenByBraceCodes)
{
    struct Row {
        std::string data;
        const char* decoded;
    } rows[] = {
        {"{BNo.123", "No.123"},
        {"{AABC", "ABC"},
        {std::string("{C") + "\x0C\x22\x38", "123456"},   // code set C: one byte per two digits
        {"{BAB{{C", "AB{C"},
        {"{BAB{C\x01\x02", "AB0102"},
        {"plain text", "plain text"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.decoded);
        PrinterProbe p;
        p.FeedHex("1D 77 02");
        p.FeedBytes(FormB(0x49, row.data));
        EXPECT_EQ(Read(p, BarcodeFormat::Code128), std::vector<std::string>{row.decoded});
    }
}

TEST(Barcodes, DataTheSymbologyCannotCarryDrawsNothingAndSaysWhy)
{
    struct Row {
        uint8_t m;
        std::string data;
        const char* meaning;
    } rows[] = {
        {0x41, "1234567890X", "print barcode: UPC-A 1234567890X: 'X' is not a digit, not printed"},
        {0x41, "1234567890", "print barcode: UPC-A 1234567890: takes 11 or 12 digits, got 10, not printed"},
        {0x41, "123456789013", "print barcode: UPC-A 123456789013: check digit 3 should be 2, not printed"},
        {0x42, "12345", "print barcode: UPC-E 12345: takes 6 to 8, 11 or 12 digits, got 5, not printed"},
        {0x42, "123456789", "print barcode: UPC-E 123456789: takes 6 to 8, 11 or 12 digits, got 9, not printed"},
        {0x42, "01234512345", "print barcode: UPC-E 01234512345: UPC-A number 01234512345 has no UPC-E form, not printed"},
        {0x4A, "(01)0952", "print barcode: GS1-128 (01)0952: Error 259: Invalid data length for AI (01), not printed"},
        {0x43, "69012345678", "print barcode: EAN13 69012345678: takes 12 or 13 digits, got 11, not printed"},
        {0x44, "123456A", "print barcode: EAN8 123456A: 'A' is not a digit, not printed"},
        {0x45, "abc", "print barcode: CODE39 abc: 'a' is not a Code 39 character, not printed"},
        {0x45, "A*B", "print barcode: CODE39 A*B: '*' is not a Code 39 character, not printed"},
        {0x46, "12A4", "print barcode: ITF 12A4: 'A' is not a digit, not printed"},
        {0x47, "1234", "print barcode: CODABAR 1234: start and stop characters must be A to D, not printed"},
        {0x47, "A1*2B", "print barcode: CODABAR A1*2B: '*' is not a Codabar character, not printed"},
        {0x48, "\xC4\xE3", "print barcode: CODE93 ..: byte C4 is not a Code 93 character, not printed"},
        {0x49, "{XAB", "print barcode: CODE128 {XAB: '{X' is not a Code 128 code, not printed"},
        {0x49, "{C\x64", "print barcode: CODE128 {Cd: 'd' is not a value of code set C (0 to 99), not printed"},
        {0x49, "{B", "print barcode: CODE128 {B: no data after the code set, not printed"},
        {0x4A, "AB(01)123", "print barcode: GS1-128 AB(01)123: data before the first application identifier, not printed"},
        {0x4A, "(01)12{X", "print barcode: GS1-128 (01)12{X: '{X' is not a GS1 code, not printed"},
        {0x4A, "(01*", "print barcode: GS1-128 (01*: '*' does not follow the digits of a check digit, not printed"},
        {0x4A, "(01", "print barcode: GS1-128 (01: '(' without its ')', not printed"},
        {0x4B, "095212345432", "print barcode: GS1 DATABAR OMNIDIRECTIONAL 095212345432: takes 13 digits, got 12, not printed"},
        {0x4D, "2952123454321", "print barcode: GS1 DATABAR LIMITED 2952123454321: the first digit must be 0 or 1, not printed"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.meaning);
        PrinterProbe p;
        p.FeedBytes(FormB(row.m, row.data));
        EXPECT_TRUE(p.interpreter.CurrentReceipt().Empty());
        EXPECT_EQ(p.LastLog().meaning, row.meaning);
    }
}

// The widths of the bars and spaces of the first row of the first picture, each once.
std::set<int> ElementWidths(const Receipt& r)
{
    std::set<int> widths;
    for (const Block& b : r.blocks)
        if (auto* pic = std::get_if<Picture>(&b)) {
            for (int x = 0; x < pic->width;) {
                int run = 1;
                while (x + run < pic->width && pic->Dot(x + run, 0) == pic->Dot(x, 0)) ++run;
                if (x > 0 && x + run < pic->width) widths.insert(run);   // not the white margins
                x += run;
            }
            break;
        }
    return widths;
}

TEST(Barcodes, TwoWidthSymbologiesHaveTheWideElementOfEachModuleWidth)
{
    struct Row {
        int width;
        int wide;
    } rows[] = {{1, 3}, {2, 5}, {3, 8}, {4, 10}, {5, 13}, {6, 16}};
    const Symbology twoWidth[] = {
        {0x45, "AB-1", BarcodeFormat::Code39, "AB-1"},
        {0x46, "12345678", BarcodeFormat::ITF, "12345678"},
        {0x47, "A123B", BarcodeFormat::Codabar, "A123B"},
    };
    for (const Symbology& s : twoWidth)
        for (const Row& row : rows) {
            SCOPED_TRACE(std::string(s.data) + " at " + std::to_string(row.width));
            PrinterProbe p(kPaper80Dots);
            p.FeedHex("1D 77 " + tallyx::test::Hex(Bytes{uint8_t(row.width)}));
            p.FeedBytes(FormB(s.formB, s.data));
            EXPECT_EQ(ElementWidths(p.interpreter.CurrentReceipt()), (std::set<int>{row.width, row.wide}));
            if (row.width >= 2) {
                EXPECT_EQ(Read(p, s.format), std::vector<std::string>{s.decoded});
            }
        }
}

TEST(Barcodes, SetUpShapesTheBarsAndTheReadableLine)
{
    struct Row {
        const char* setup;
        const char* text;   // blocks, top to bottom
        int x;              // left edge of the bars
    } rows[] = {
        {"1D 48 00 1D 68 50 1D 77 02", "[picture 190x80]\n", 0},
        {"1D 48 01 1D 68 50 1D 77 02", "036000291452\n[picture 190x80]\n", 0},
        {"1D 48 32 1D 68 50 1D 77 02", "[picture 190x80]\n036000291452\n", 0},
        {"1D 48 33 1D 68 0B 1D 77 01", "036000291452\n[picture 95x11]\n036000291452\n", 0},
        {"1D 48 00 1D 68 FF 1D 77 04 1D 78 14", "[picture 400x255]\n", -1},   // wider than the paper
        {"1D 48 00 1D 68 50 1D 77 03 1D 78 14", "[picture 305x80]\n", 0},
        {"1D 48 00 1D 68 50 1D 77 02 1B 61 01", "[picture 190x80]\n", 97},
        {"1D 48 00 1D 68 50 1D 77 02 1B 61 32", "[picture 190x80]\n", 194},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.setup);
        PrinterProbe p;
        p.FeedHex(row.setup);
        p.FeedBytes(FormB(0x41, "036000291452"));
        const Receipt& r = p.interpreter.CurrentReceipt();
        if (row.x < 0) {
            EXPECT_TRUE(r.Empty());
            EXPECT_EQ(p.LastLog().meaning,
                      "print barcode: UPC-A 036000291452: 400 dots wide, wider than the paper (384), not printed");
            continue;
        }
        EXPECT_EQ(PrintedText(r), row.text);
        for (const Block& b : r.blocks)
            if (auto* pic = std::get_if<Picture>(&b)) {
                EXPECT_EQ(pic->x, row.x);
            }
    }
}

TEST(Barcodes, ReadableLineFontAndPlace)
{
    struct Row {
        const char* font;
        int cellW, cellH;
    } rows[] = {{"00", 12, 24}, {"30", 12, 24}, {"01", 9, 17}, {"31", 9, 17}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.font);
        PrinterProbe p;
        p.FeedHex(std::string("1D 48 02 1D 77 02 1D 66 ") + row.font);
        p.FeedBytes(FormB(0x41, "036000291452"));
        const auto& line = std::get<TextLine>(p.interpreter.CurrentReceipt().blocks.at(1));
        ASSERT_EQ(line.glyphs.size(), 12u);
        EXPECT_EQ(line.height, row.cellH);
        EXPECT_EQ(line.glyphs[0].width, row.cellW);
        EXPECT_EQ(line.glyphs[0].x, (190 - 12 * row.cellW) / 2) << "centred under the bars";
    }
}

TEST(Barcodes, SetUpValuesOutsideTheirRangeAreIgnored)
{
    ExpectMeanings(
        {
            {"1D 68 00", "barcode height: invalid value, ignored"},
            {"1D 68 01", "barcode height: 1 dots"},
            {"1D 77 00", "barcode module width: invalid value, ignored"},
            {"1D 77 01", "barcode module width: 1"},
            {"1D 77 08", "barcode module width: 8"},
            {"1D 77 09", "barcode module width: invalid value, ignored"},
            {"1D 48 03", "barcode readable line position: above and below"},
            {"1D 48 04", "barcode readable line position: invalid value, ignored"},
            {"1D 48 34", "barcode readable line position: invalid value, ignored"},
            {"1D 66 03", "barcode readable line font: invalid value, ignored"},
        });
}

TEST(Barcodes, MalformedCommandsNeitherCrashNorDraw)
{
    const char* const streams[] = {
        "1D 6B 49 00",                    // no data
        "1D 6B 49 FF 41 42 43",           // cut off after 3 of 255 bytes
        "1D 6B 04 41 42",                 // cut off before its zero byte
        "1D 6B 04 00",                    // no data before the zero byte
        "1D 6B 4A 03 41 42 43",           // GS1-128 without an application identifier
        "1D 6B 4F 03 41 42 43",           // no symbology 79
        "1D 6B 07 02 41 42",              // no symbology 7
    };
    for (const char* stream : streams) {
        SCOPED_TRACE(stream);
        PrinterProbe p;
        p.FeedHex(stream);
        p.interpreter.Idle();
        EXPECT_TRUE(p.receipts.empty());
    }
}

} // namespace
} // namespace tallyx::vprinter::test
