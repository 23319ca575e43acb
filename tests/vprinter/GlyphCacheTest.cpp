// Characters copied from their masks land dot for dot where drawing them with a painter puts
// them, in every style, at every place on the paper and over whatever is already printed.
#include <gtest/gtest.h>

#include <QFontMetricsF>
#include <algorithm>
#include <QPainter>
#include <string>
#include <vector>

#include "vprinter/paper/LineLayout.h"
#include "vprinter/render/Compare.h"
#include "vprinter/render/GlyphCache.h"
#include "vprinter/render/ReceiptRenderer.h"

namespace tallyx::vprinter::test {
namespace {

// The canvas keeps one bit a dot; a picture drawn whole is grey: the same ink, dot for dot.
bool SameDots(const QImage& a, const QImage& b)
{
    return a.size() == b.size() && ComparePictures(a, b).dots == 0;
}

// The character drawn straight onto the paper, one painter per line and a new font for each
// character: the renderer's way before characters were kept as masks.
void PaintLineDirectly(QImage& image, int top, const TextLine& line)
{
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setRenderHint(QPainter::TextAntialiasing, false);
    for (const Glyph& g : line.glyphs) {
        const QRect cell(g.x, top + line.height - g.height, g.width, g.height);
        const QColor ink = g.reverse ? Qt::white : Qt::black;
        if (g.reverse) p.fillRect(cell, Qt::black);
        const int baseH = g.fontB ? 17 : 24;
        const int baseW = (g.fontB ? 9 : 12) * (g.wide ? 2 : 1);
        p.save();
        p.translate(cell.center().x() + 0.5, cell.center().y() + 0.5);
        if (g.upsideDown) p.rotate(180);
        if (g.rotated) {
            p.rotate(90);
            p.scale(double(cell.height()) / baseW, double(cell.width()) / baseH);
        } else {
            p.scale(double(cell.width()) / baseW, double(cell.height()) / baseH);
        }
        QFont font(PrinterFontFamily());
        font.setPixelSize(baseH - 2);
        font.setStyleStrategy(QFont::NoAntialias);
        font.setHintingPreference(QFont::PreferFullHinting);
        p.setFont(font);
        p.setPen(ink);
        QRectF base(-baseW / 2.0, -baseH / 2.0, baseW, baseH);
        const QString text = QString::fromStdString(g.text);
        // A character wider than its cell narrowed to fit it; box drawing and blocks are not.
        const bool box = text.size() == 1 && text.front().unicode() >= 0x2500 && text.front().unicode() <= 0x259F;
        const QFontMetricsF metrics(font);
        const QRectF inked = metrics.tightBoundingRect(text);
        const double start = -metrics.horizontalAdvance(text) / 2.0;
        const double half =
            inked.isEmpty() ? 0 : std::max(-(start + inked.left()), start + inked.right() + (g.bold ? 1 : 0));
        if (!box && half > baseW / 2.0) {
            const double squeeze = (baseW / 2.0 - 0.5) / half;
            p.scale(squeeze, 1);
            base = QRectF(base.left() / squeeze, base.top(), base.width() / squeeze, base.height());
        }
        p.drawText(base, Qt::AlignCenter, text);
        if (g.bold) p.drawText(base.translated(1, 0), Qt::AlignCenter, text);
        p.restore();
        if (g.underline > 0) p.fillRect(QRect(cell.left(), cell.bottom() + 1 - g.underline, cell.width(), g.underline), ink);
    }
}

// Paper already printed on: black, white and grey columns, so a stray or missing dot shows
// whatever the character's colour.
QImage PrintedPaper(int width, int height)
{
    QImage image(width, height, QImage::Format_Grayscale8);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) image.scanLine(y)[x] = uchar((x + y / 5) % 3 == 0 ? 0 : (x % 3 == 1 ? 255 : 128));
    return image;
}

struct Face {
    const char* text;
    bool wide;
};
// Latin with a descender, a wide capital, an accent, box drawing, the unprintable box, CJK.
const Face kFaces[] = {{"T", false}, {"g", false}, {"W", false}, {"é", false}, {"─", false},
                       {"□", false}, {"中", true},  {"谢", true},  {" ", false}};

struct Scale {
    int w, h;
};
const Scale kScales[] = {{1, 1}, {2, 2}, {1, 2}, {2, 1}, {3, 3}, {4, 1}, {8, 8}};

Glyph Make(const Face& face, bool fontB, Scale s, bool rotated)
{
    Glyph g;
    g.text = face.text;
    g.wide = face.wide;
    g.fontB = fontB;
    const int cellW = (fontB ? 9 : 12) * (face.wide ? 2 : 1), cellH = fontB ? 17 : 24;
    g.width = rotated ? cellH * s.h : cellW * s.w;
    g.height = rotated ? cellW * s.w : cellH * s.h;
    g.rotated = rotated;
    return g;
}

// A line of `count` of the three faces in turn, each `pitch` dots on from the last.
TextLine FacesInTurn(int count, Scale s, int pitch, int height)
{
    TextLine line{height, {}};
    for (int i = 0; i < count; ++i) {
        Glyph g = Make(kFaces[i % 3], false, s, false);
        g.x = i * pitch;
        line.glyphs.push_back(g);
    }
    return line;
}

// The line through the cache onto printed paper, beside the painter's own drawing.
void ExpectAsPainted(GlyphCache& cache, const TextLine& line)
{
    QImage expected = PrintedPaper(384, line.height), cached = PrintedPaper(384, line.height);
    PaintLineDirectly(expected, 0, line);
    cache.PaintLine(cached, 0, line);
    EXPECT_EQ(cached, expected);
}

TEST(GlyphCache, EveryStyleMatchesDrawingWithAPainterDotForDot)
{
    constexpr int kPaper = 384, kTop = 40;
    GlyphCache cache;
    int lines = 0;
    for (bool fontB : {false, true})
        for (Scale s : kScales)
            for (int style = 0; style < 48; ++style) {
                const bool bold = style & 1, reverse = style & 2, upsideDown = style & 4, rotated = style & 8;
                const uint8_t underline = uint8_t(style / 16);
                TextLine line;
                int tallest = 0;
                for (size_t i = 0; i < std::size(kFaces); ++i) {
                    Glyph g = Make(kFaces[i], fontB, s, rotated);
                    g.bold = bold;
                    g.reverse = reverse;
                    g.upsideDown = upsideDown;
                    g.underline = underline;
                    // The left edge, odd and even places, overlapping neighbours, the right edge.
                    const int room = kPaper - g.width;
                    g.x = i == 0 ? 0 : i + 1 == std::size(kFaces) ? room : int(i * 37 + size_t(style)) % (room + 1);
                    tallest = std::max(tallest, g.height);
                    line.glyphs.push_back(g);
                }
                line.height = tallest + (style % 3) * 7;   // taller lines put cells at different rows
                QImage expected = PrintedPaper(kPaper, kTop + line.height + 40);
                QImage cached = expected.copy();
                PaintLineDirectly(expected, kTop, line);
                cache.PaintLine(cached, kTop, line);
                SCOPED_TRACE("font " + std::string(fontB ? "B" : "A") + " " + std::to_string(s.w) + "x" +
                             std::to_string(s.h) + " bold " + std::to_string(bold) + " reverse " +
                             std::to_string(reverse) + " upside-down " + std::to_string(upsideDown) + " rotated " +
                             std::to_string(rotated) + " underline " + std::to_string(underline));
                ASSERT_EQ(cached, expected);
                ++lines;
            }
    EXPECT_EQ(lines, 2 * 7 * 48);
    EXPECT_GT(cache.Stamped(), cache.Misses()) << "most characters are copied from their masks";
}

TEST(GlyphCache, OrdinaryTextIsCopiedFromMasksDrawnOnce)
{
    GlyphCache cache;
    ExpectAsPainted(cache, FacesInTurn(32, {1, 1}, 12, 30));   // T g W T g W ...
    EXPECT_EQ(cache.Misses(), 3u);
    EXPECT_EQ(cache.Masks(), 3u);
    EXPECT_EQ(cache.Stamped(), 32u);
    EXPECT_EQ(cache.Size(), 3u);
}

TEST(GlyphCache, ASizeThatComesOutGreyIsNotTriedInAMaskAgain)
{
    GlyphCache cache;
    ExpectAsPainted(cache, FacesInTurn(3, {8, 8}, 96, 192));   // T g W, 96 x 192: filled as outlines
    EXPECT_EQ(cache.Misses(), 3u);
    EXPECT_EQ(cache.Masks(), 1u);
    EXPECT_EQ(cache.Stamped(), 0u);

    Glyph small = Make(kFaces[0], false, {1, 1}, false);   // another size is tried as before
    ExpectAsPainted(cache, TextLine{24, {small}});
    EXPECT_EQ(cache.Masks(), 2u);
    EXPECT_EQ(cache.Stamped(), 1u);
}

TEST(GlyphCache, PaperOfMoreThanAByteADotIsDrawnWithThePainter)
{
    TextLine line{48, {}};
    for (int i = 0; i < 6; ++i) {
        Glyph g = Make(kFaces[i % 3 == 2 ? 6 : i % 3], false, {2, 2}, false);   // T g 中
        g.x = i * 48;
        g.reverse = i == 4;
        g.underline = 1;
        line.glyphs.push_back(g);
    }
    QImage expected(384, 48, QImage::Format_RGB32);
    expected.fill(Qt::white);
    QImage painted = expected.copy();
    PaintLineDirectly(expected, 0, line);
    GlyphCache cache;
    cache.PaintLine(painted, 0, line);
    EXPECT_EQ(painted, expected);
    EXPECT_EQ(cache.Stamped(), 0u);
}

// A new CJK character each time, from U+4E00 on.
void PrintNewCharacters(GlyphCache& cache, int first, int count, Scale s = {1, 1})
{
    QImage paper(384, 24 * s.h, QImage::Format_Grayscale8);
    for (int i = first; i < first + count; ++i) {
        Glyph g = Make({"", true}, false, s, false);
        g.text = QString(QChar(0x4E00 + i)).toStdString();
        cache.PaintLine(paper, 0, TextLine{g.height, {g}});
    }
}

TEST(GlyphCache, StartsAgainEmptyPastItsLimitOfCharacters)
{
    GlyphCache cache;
    auto print = [&](int first, int count) { PrintNewCharacters(cache, first, count); };
    print(0, 4096);
    EXPECT_EQ(cache.Size(), 4096u);
    print(0, 1);   // already held
    EXPECT_EQ(cache.Size(), 4096u);
    EXPECT_EQ(cache.Misses(), 4096u);
    print(4096, 1);
    EXPECT_EQ(cache.Size(), 1u);
    EXPECT_EQ(cache.Misses(), 4097u);
}

TEST(GlyphCache, StartsAgainEmptyPastItsLimitOfInk)
{
    GlyphCache cache;
    int next = 0;
    // CJK characters eight times as tall hold some four hundred runs of ink each.
    while (cache.Runs() < 1048576) {
        const size_t before = cache.Size();
        PrintNewCharacters(cache, next++, 1, {1, 8});
        ASSERT_EQ(cache.Size(), before + 1) << "kept while under the limit";
    }
    EXPECT_LT(cache.Size(), 4096u);
    PrintNewCharacters(cache, next++, 1, {1, 8});
    EXPECT_EQ(cache.Size(), 1u);
    EXPECT_LT(cache.Runs(), 1000u);
}

// The canvas keeps its paper between receipts: what one receipt left must not show on the next.
TEST(ReceiptCanvasReuse, NextReceiptIsDrawnOnCleanPaper)
{
    auto textLine = [](const char* text, bool reverse, Scale s) {
        TextLine line{0, {}};
        int x = 0;
        for (const char* c = text; *c; ++c) {
            Glyph g = Make({"", false}, false, s, false);
            g.text = std::string(1, *c);
            g.reverse = reverse;
            g.underline = 2;
            g.x = x;
            x += g.width;
            line.height = std::max(line.height, g.height);
            line.glyphs.push_back(g);
        }
        return line;
    };
    Receipt dark{kPaper58Dots, 0, {}};
    for (int i = 0; i < 30; ++i) dark.blocks.emplace_back(std::in_place_type<TextLine>, textLine("REVERSE LINE", true, {2, 2}));
    for (const Block& b : dark.blocks) dark.heightDots += BlockHeight(b);
    Receipt light{kPaper58Dots, 0, {}};
    light.blocks = {textLine("Total 12.50", false, {1, 1}), Feed{40}, textLine("Thanks", false, {1, 2})};
    for (const Block& b : light.blocks) light.heightDots += BlockHeight(b);

    for (const Receipt& first : {dark, light}) {
        SCOPED_TRACE(first.heightDots);
        ReceiptCanvas canvas(kPaper58Dots);
        for (const Block& b : first.blocks) canvas.Append(b);
        canvas.Clear();
        EXPECT_TRUE(canvas.Snapshot().isNull());
        EXPECT_EQ(canvas.HeightDots(), 0);
        for (const Block& b : light.blocks) canvas.Append(b);
        EXPECT_TRUE(SameDots(canvas.Snapshot(), RenderReceipt(light)));
    }
}

// Ink of large characters can spill below their line (a bold box on its side, 8 x 4, spills
// four rows), and paper growing past 1,024 rows carries over only the rows printed so far.
// Paper kept from a longer receipt must give the picture new paper gives.
TEST(ReceiptCanvasReuse, KeptPaperGrowsAsNewPaperWould)
{
    TextLine boxes{48, {}};
    for (int i = 0; i < 3; ++i) {
        Glyph g = Make({"□", false}, false, {4, 8}, true);
        g.bold = true;
        g.x = i * 192;
        boxes.glyphs.push_back(g);
    }
    ReceiptCanvas fresh(kPaper80Dots), kept(kPaper80Dots);
    for (int i = 0; i < 200; ++i) kept.Append(Feed{20});   // 4,000 rows, kept after the clear
    kept.Clear();
    for (ReceiptCanvas* canvas : {&fresh, &kept}) {
        canvas->Append(Feed{957});
        for (int i = 0; i < 3; ++i) canvas->Append(boxes);   // the second one crosses row 1,024
    }
    EXPECT_EQ(kept.Snapshot(), fresh.Snapshot());
}

// Paper of up to 4,096 rows is kept and whitened; longer paper is given back and made anew.
TEST(ReceiptCanvasReuse, NothingOfAFullPageIsLeftBehind)
{
    TextLine line{24, {}};
    for (int i = 0; i < 32; ++i) {
        Glyph g = Make(kFaces[i % 2], false, {1, 1}, false);
        g.reverse = true;
        g.x = i * 12;
        line.glyphs.push_back(g);
    }
    QImage white(384, 1024, QImage::Format_Grayscale8);
    white.fill(Qt::white);
    for (int lines : {42, 43, 100, 170, 171}) {   // 1,008; 1,032; 2,400; 4,080; 4,104 rows
        SCOPED_TRACE(lines);
        ReceiptCanvas canvas(kPaper58Dots);
        for (int i = 0; i < lines; ++i) canvas.Append(line);
        EXPECT_EQ(canvas.HeightDots(), 24 * lines);
        canvas.Clear();
        canvas.Append(Feed{1023});
        canvas.Append(Feed{1});
        EXPECT_TRUE(SameDots(canvas.Snapshot(), white));
    }
}

// Font A's capitals with a caron or an acute, as the receipt shows them.
struct Cell {
    std::vector<std::string> rows;   // '#' for ink, top to bottom, the whole cell and what spills above it
    int Dots() const
    {
        int n = 0;
        for (const std::string& r : rows) n += int(std::count(r.begin(), r.end(), '#'));
        return n;
    }
};

std::vector<Cell> FontACells(const std::vector<std::string>& texts)
{
    Receipt receipt{kPaper58Dots, 0, {}};
    receipt.blocks.push_back(Feed{12});
    TextLine line;
    line.height = 24;
    for (size_t i = 0; i < texts.size(); ++i) {
        Glyph g;
        g.x = 12 * int(i);
        g.width = 12;
        g.height = 24;
        g.text = texts[i];
        line.glyphs.push_back(g);
    }
    receipt.blocks.push_back(line);
    receipt.heightDots = 36;
    const QImage paper = RenderReceipt(receipt);
    std::vector<Cell> cells(texts.size());
    for (size_t i = 0; i < texts.size(); ++i)
        for (int y = 0; y < paper.height(); ++y) {
            std::string row;
            for (int x = 12 * int(i); x < 12 * int(i) + 12; ++x) row += qGray(paper.pixel(x, y)) < 128 ? '#' : '.';
            cells[i].rows.push_back(row);
        }
    return cells;
}

// Stretches of ink in a row: a caron's arms are two, an acute one.
int Runs(const std::string& row)
{
    int runs = 0;
    for (size_t x = 0; x < row.size(); ++x) runs += row[x] == '#' && (x == 0 || row[x - 1] != '#');
    return runs;
}

TEST(GlyphCache, FontACapitalsKeepTheirCaronsAndAcutesApart)
{
    const std::vector<Cell> cells = FontACells({"S", "Š", "Ś", "C", "Č", "Z", "Ž"});
    int differing = 0;
    for (size_t y = 0; y < cells[1].rows.size(); ++y)
        for (size_t x = 0; x < 12; ++x) differing += cells[1].rows[y][x] != cells[2].rows[y][x];
    EXPECT_GT(differing, 1) << "Š and Ś";

    for (size_t base : {0u, 3u, 5u}) {
        SCOPED_TRACE(base);
        const Cell& plain = cells[base];
        const Cell& caron = cells[base + 1];
        size_t letterTop = 0;
        while (letterTop < plain.rows.size() && plain.rows[letterTop].find('#') == std::string::npos) ++letterTop;
        std::vector<std::string> accent(caron.rows.begin(), caron.rows.begin() + ptrdiff_t(letterTop));
        while (!accent.empty() && accent.back().find('#') == std::string::npos) accent.pop_back();
        while (!accent.empty() && accent.front().find('#') == std::string::npos) accent.erase(accent.begin());
        ASSERT_GE(accent.size(), 2u) << "a caron of two rows or more, not a dot";
        EXPECT_EQ(Runs(accent.front()), 2) << "its two arms: " << accent.front();
    }
}

} // namespace
} // namespace tallyx::vprinter::test
