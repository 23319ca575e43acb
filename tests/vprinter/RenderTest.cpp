// What the paper looks like: every text style drawn where the layout put it, pictures dot
// for dot, and the same picture every time.
#include <gtest/gtest.h>

#include <QImage>

#include "tests/vprinter/PrinterProbe.h"
#include "vprinter/render/Compare.h"
#include "vprinter/render/ReceiptRenderer.h"

namespace tallyx::vprinter::test {
namespace {

struct Cell {
    QRect rect;
    Glyph glyph;
};

// Every text line's cells, where the renderer was to draw them.
std::vector<std::vector<Cell>> LineCells(const Receipt& receipt)
{
    std::vector<std::vector<Cell>> lines;
    int top = 0;
    for (const Block& block : receipt.blocks) {
        if (auto* line = std::get_if<TextLine>(&block)) {
            std::vector<Cell> cells;
            const int foot = line->textHeight > 0 ? line->textHeight : line->height;
            for (const Glyph& g : line->glyphs) cells.push_back({QRect(g.x, top + foot - g.height, g.width, g.height), g});
            lines.push_back(cells);
        }
        top += BlockHeight(block);
    }
    return lines;
}

int Ink(const QImage& image, const QRect& r)
{
    int black = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if (qGray(image.pixel(x, y)) < 128) ++black;
    return black;
}

// The styles of the tool's formatting buttons, one line each.
const char* const kStyles =
    "1B 40 "
    "54 65 78 74 20 31 32 33 0A "                          // Text 123
    "1B 45 01 54 65 78 74 20 31 32 33 0A 1B 45 00 "        // bold
    "1B 2D 02 54 65 78 74 20 31 32 33 0A 1B 2D 00 "        // underline 2 dots
    "1D 42 01 54 65 78 74 20 31 32 33 0A 1D 42 00 "        // reverse
    "1B 7B 01 54 65 78 74 20 31 32 33 0A 1B 7B 00 "        // upside-down
    "1B 56 01 54 65 78 74 20 31 32 33 0A 1B 56 00 "        // rotated
    "1B 61 01 1D 21 11 42 69 67 0A 1D 21 00 1B 61 00 "     // Big, centred, 2x
    "1B 61 02 52 69 67 68 74 0A 1B 61 00 "                 // Right
    "1B 4E 03 01 1C 2D 01 D6 D0 CE C4 B4 F2 D3 A1 0A 1C 2D 00 "   // 中文打印 underlined
    "1D 21 33 D6 D0 0A";                                   // 中 at 4x

// Lines of kStyles, in order.
enum Line { kNormal, kBold, kUnderlined, kReversed, kUpsideDown, kRotated, kBig, kRight, kChinese, kQuadruple };

class Styles : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_probe.FeedHex(kStyles);
        m_receipt = m_probe.interpreter.CurrentReceipt();
        m_image = RenderReceipt(m_receipt);
        m_lines = LineCells(m_receipt);
        ASSERT_EQ(m_lines.size(), 10u);
    }
    // The "T" that begins a "Text 123" line.
    Cell T(Line line) const { return m_lines[line].front(); }

    PrinterProbe m_probe;
    Receipt m_receipt;
    QImage m_image;
    std::vector<std::vector<Cell>> m_lines;
};

TEST_F(Styles, SavedForTheEye)
{
    ASSERT_EQ(m_image.width(), 384);
    EXPECT_EQ(m_image.height(), m_receipt.heightDots);
    EXPECT_TRUE(m_image.save("vprinter-styles.png", "PNG"));
}

TEST_F(Styles, EveryCharacterLeavesInkInItsCell)
{
    for (size_t line = 0; line < m_lines.size(); ++line)
        for (const Cell& c : m_lines[line]) {
            SCOPED_TRACE(std::to_string(line) + " " + c.glyph.text);
            if (c.glyph.text == " ") continue;
            EXPECT_GT(Ink(m_image, c.rect), c.rect.width() * c.rect.height() / 40);
        }
}

TEST_F(Styles, BoldHasMoreInkThanNormal)
{
    const Cell normal = T(kNormal), bold = T(kBold);
    ASSERT_TRUE(bold.glyph.bold);
    EXPECT_GT(Ink(m_image, bold.rect), Ink(m_image, normal.rect) * 5 / 4);
}

TEST_F(Styles, UnderlineFillsTheBottomRowsOfEveryCell)
{
    for (const Cell& c : m_lines[kUnderlined]) {   // spaces too
        SCOPED_TRACE(c.glyph.text);
        ASSERT_EQ(c.glyph.underline, 2);
        EXPECT_EQ(Ink(m_image, QRect(c.rect.left(), c.rect.bottom() - 1, c.rect.width(), 2)), 2 * c.rect.width());
    }
    for (const Cell& c : m_lines[kChinese]) {
        SCOPED_TRACE(c.glyph.text);
        EXPECT_EQ(Ink(m_image, QRect(c.rect.left(), c.rect.bottom(), c.rect.width(), 1)), c.rect.width());
    }
}

TEST_F(Styles, ReverseIsWhiteOnBlack)
{
    const Cell reversed = T(kReversed);
    ASSERT_TRUE(reversed.glyph.reverse);
    const int area = reversed.rect.width() * reversed.rect.height();
    EXPECT_GT(Ink(m_image, reversed.rect), area * 3 / 4);
    EXPECT_LT(Ink(m_image, reversed.rect), area);
}

TEST_F(Styles, UpsideDownAndRotatedMoveTheBarOfT)
{
    const Cell normal = T(kNormal);
    const Cell upsideDown = T(kUpsideDown);
    const Cell rotated = T(kRotated);
    ASSERT_TRUE(upsideDown.glyph.upsideDown);
    ASSERT_TRUE(rotated.glyph.rotated);
    auto top = [&](const QRect& r) { return Ink(m_image, QRect(r.left(), r.top(), r.width(), r.height() / 2)); };
    auto bottom = [&](const QRect& r) {
        return Ink(m_image, QRect(r.left(), r.top() + r.height() / 2, r.width(), r.height() / 2));
    };
    auto left = [&](const QRect& r) { return Ink(m_image, QRect(r.left(), r.top(), r.width() / 2, r.height())); };
    auto right = [&](const QRect& r) {
        return Ink(m_image, QRect(r.left() + r.width() / 2, r.top(), r.width() - r.width() / 2, r.height()));
    };
    EXPECT_GT(top(normal.rect), bottom(normal.rect));
    EXPECT_GT(bottom(upsideDown.rect), top(upsideDown.rect));
    EXPECT_GT(right(rotated.rect), left(rotated.rect)) << "turned clockwise, the bar is on the right";
    EXPECT_EQ(upsideDown.rect.left(), 384 - 12) << "the line reads from the right edge";
}

TEST_F(Styles, MagnifiedCharacterHasMoreInk)
{
    const Cell small = m_lines[kChinese].front();
    const Cell big = m_lines[kQuadruple].front();
    ASSERT_EQ(small.glyph.text, big.glyph.text);
    ASSERT_EQ(big.rect.size(), QSize(96, 96));
    EXPECT_GT(Ink(m_image, big.rect), 8 * Ink(m_image, small.rect));
    EXPECT_EQ(m_lines[kBig].front().rect.left(), (384 - 3 * 24) / 2);
    EXPECT_EQ(m_lines[kRight].back().rect.right(), 383);
}

TEST_F(Styles, RenderingIsTheSameEveryTimeAndGrowingMatchesWhole)
{
    EXPECT_EQ(RenderReceipt(m_receipt), m_image);
    ReceiptCanvas canvas(kPaper58Dots);
    for (const Block& b : m_receipt.blocks) canvas.Append(b);
    const QImage grown = canvas.Snapshot();
    ASSERT_EQ(grown.size(), m_image.size());
    EXPECT_EQ(ComparePictures(grown, m_image).dots, 0);
}

// One past the lowest inked row of the cell and whether ink stayed within its columns.
struct CellInk {
    int bottom = 0;
    bool inside = true;
};

CellInk InkOf(const QImage& image, const QRect& cell, int rowsBelow)
{
    CellInk ink;
    for (int y = cell.top(); y <= cell.bottom() + rowsBelow && y < image.height(); ++y)
        for (int x = std::max(cell.left() - 6, 0); x <= cell.right() + 6 && x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 128) {
                ink.bottom = std::max(ink.bottom, y - cell.top() + 1);
                ink.inside = ink.inside && x >= cell.left() && x <= cell.right();
            }
    return ink;
}

TEST(Glyphs, ShchaKeepsTheTailThatTellsItFromSha)
{
    for (const char* font : {"00", "01"}) {   // font A, font B
        SCOPED_TRACE(font);
        TmT88Probe p;
        // CP866 (ESC t 17): E8 ш, E9 щ, a space between so that neither touches the other.
        p.FeedHex(std::string("1B 4D ") + font + " 1B 74 11 E8 20 E9 0A 0A");
        const Receipt& r = p.interpreter.CurrentReceipt();
        const QImage image = RenderReceipt(r);
        const std::vector<std::vector<Cell>> lines = LineCells(r);
        ASSERT_FALSE(lines.empty());
        ASSERT_EQ(lines[0].size(), 3u);
        ASSERT_EQ(lines[0][2].glyph.text, "щ");
        const CellInk sha = InkOf(image, lines[0][0].rect, 2), shcha = InkOf(image, lines[0][2].rect, 2);
        EXPECT_TRUE(sha.inside);
        EXPECT_TRUE(shcha.inside) << "narrowed into its cell, not cut at its edges";
        EXPECT_GT(shcha.bottom, sha.bottom) << "its tail below the bottom bar";
        EXPECT_LE(shcha.bottom, lines[0][2].rect.height());
    }
}

TEST(Glyphs, BoxDrawingLinesMeetTheirNeighbours)
{
    struct Row {
        const char* bytes;   // three PC437 characters
        int inset;           // dots of the outer cells the line leaves out
    } rows[] = {{"C4 C4 C4", 0}, {"DA C4 BF", 7}, {"C0 C4 D9", 7}, {"C3 C4 B4", 7}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.bytes);
        TmT88Probe p;
        p.FeedHex(std::string("1B 74 00 ") + row.bytes + " 0A");
        const Receipt& r = p.interpreter.CurrentReceipt();
        const QImage image = RenderReceipt(r);
        const std::vector<Cell> cells = LineCells(r).at(0);
        ASSERT_EQ(cells.size(), 3u);
        const QRect line = cells[0].rect.united(cells[2].rect).adjusted(row.inset, 0, -row.inset, 0);
        // Past the corners' vertical arms every inked row is inked all along: one unbroken
        // line, the corners' arms as thick as the rule and on its rows.
        int full = 0;
        for (int y = line.top(); y <= line.bottom(); ++y) {
            const int ink = Ink(image, QRect(line.left(), y, line.width(), 1));
            EXPECT_TRUE(ink == 0 || ink == line.width()) << "row " << y - line.top() << ": " << ink;
            full += ink == line.width() ? 1 : 0;
        }
        EXPECT_GT(full, 0);
    }
}

TEST(Pictures, DotsLandExactlyWhereTheCommandsPutThem)
{
    PrinterProbe p;
    // GS * 16 x 8 with a diagonal, printed double size; GS v 0 raster 8 x 2 (AA, 55); a centred logo.
    std::string diagonal;
    for (int c = 0; c < 16; ++c) diagonal += " " + tallyx::test::Hex(Bytes{uint8_t(0x80 >> (c % 8))});
    p.FeedHex("1D 2A 02 01" + diagonal + " 1D 2F 33");
    p.FeedHex("1D 76 30 00 01 00 02 00 AA 55");
    p.FeedHex("1C 72 01 01 00 01 00 FF 00 FF 00 FF 00 FF 00 1B 61 01 1C 70 01 30");
    const Receipt r = p.interpreter.CurrentReceipt();
    const QImage image = RenderReceipt(r);
    ASSERT_EQ(image.height(), 16 + 2 + 8);

    QImage expected(384, 26, QImage::Format_Grayscale8);
    expected.fill(Qt::white);
    for (int c = 0; c < 32; ++c)
        for (int y = 0; y < 16; ++y)
            if (y / 2 == (c / 2) % 8) expected.setPixel(c, y, qRgb(0, 0, 0));
    for (int x = 0; x < 8; ++x) {
        if ((0xAA >> (7 - x)) & 1) expected.setPixel(x, 16, qRgb(0, 0, 0));
        if ((0x55 >> (7 - x)) & 1) expected.setPixel(x, 17, qRgb(0, 0, 0));
    }
    for (int c = 0; c < 8; c += 2)
        for (int y = 0; y < 8; ++y) expected.setPixel(188 + c, 18 + y, qRgb(0, 0, 0));
    EXPECT_EQ(image, expected);
}

TEST(Pictures, BarcodeBarsAndReadableLineAreDrawnWhereTheyWereLaidOut)
{
    // CODE128 "ABC", 68 modules of 2 dots, 80 dots high, its readable line in font A below.
    PrinterProbe p;
    p.FeedHex("1D 48 02 1D 68 50 1D 77 02 1D 6B 49 03 41 42 43");
    const QImage image = RenderReceipt(p.interpreter.CurrentReceipt());
    ASSERT_EQ(image.height(), 80 + 24);
    EXPECT_EQ(Ink(image, QRect(0, 0, 4, 80)), 4 * 80) << "the start character opens with a bar of 2 modules";
    EXPECT_GT(Ink(image, QRect(136 / 2 - 18, 80, 36, 24)), 0) << "the characters ABC under the bars";
    EXPECT_EQ(Ink(image, QRect(136, 0, 384 - 136, 104)), 0);
}

} // namespace
} // namespace tallyx::vprinter::test
