#include "vprinter/render/GlyphCache.h"

#include <QFile>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>
#include <cstring>
#include <functional>
#include <optional>

#include "vprinter/paper/LineLayout.h"
#include "vprinter/render/BoxDrawing.h"

namespace tallyx::vprinter {

namespace {

constexpr char kFontFile[] = "/usr/share/fonts/truetype/wqy/wqy-zenhei.ttc";
constexpr char kFontFallback[] = "WenQuanYi Zen Hei Mono";

constexpr uchar kBlack = 0;
constexpr uchar kWhite = 255;

enum KeyFlag : uint8_t { kWide = 1, kFontB = 2, kBold = 4, kRotated = 8, kUpsideDown = 16 };

uint8_t KeyFlags(const Glyph& g)
{
    return uint8_t((g.wide ? kWide : 0) | (g.fontB ? kFontB : 0) | (g.bold ? kBold : 0) |
                   (g.rotated ? kRotated : 0) | (g.upsideDown ? kUpsideDown : 0));
}

QFont GlyphFont(int pixelSize)
{
    QFont font(PrinterFontFamily());
    font.setPixelSize(std::max(pixelSize, 1));
    font.setStyleStrategy(QFont::NoAntialias);
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}

// The painter's own centre of a cell: QRect::center() plus half a dot.
QPointF CellCentre(const QRect& cell)
{
    return QPointF(cell.center().x() + 0.5, cell.center().y() + 0.5);
}

// Sets rows [top, top + rows) and columns [left, left + width) of `image` to `value`, clipped.
void FillRect(QImage& image, int left, int top, int width, int rows, uchar value)
{
    const int x0 = std::max(left, 0), x1 = std::min(left + width, image.width());
    const int y0 = std::max(top, 0), y1 = std::min(top + rows, image.height());
    if (x0 >= x1) return;
    for (int y = y0; y < y1; ++y) std::memset(image.scanLine(y) + x0, value, size_t(x1 - x0));
}

// The cell and its right-side spacing, which lies left of it on an upside-down line: both
// are reversed and underlined.
int SpanLeft(const Glyph& g)
{
    return g.upsideDown ? g.x - g.spacing : g.x;
}

bool AllWhite(const uchar* line, int n)
{
    uint64_t all = ~uint64_t(0);
    int x = 0;
    for (uint64_t word; x + 8 <= n; x += 8) {
        std::memcpy(&word, line + x, 8);
        all &= word;
    }
    for (; x < n; ++x) all &= 0xFFFFFFFFFFFFFF00ull | line[x];
    return all == ~uint64_t(0);
}

// How far from the centre of its advance the character's ink reaches, left or right, drawn
// centred as Qt::AlignCenter draws it (and one dot further right when bold).
double WidestInkHalf(const QFontMetricsF& metrics, const QString& text, bool bold)
{
    const QRectF ink = metrics.tightBoundingRect(text);
    if (ink.isEmpty()) return 0;
    const double start = -metrics.horizontalAdvance(text) / 2.0;
    return std::max(-(start + ink.left()), start + ink.right() + (bold ? 1 : 0));
}

} // namespace

QString PrinterFontFamily()
{
    static const QString family = [] {
        if (QFile::exists(kFontFile)) {
            const int id = QFontDatabase::addApplicationFont(kFontFile);
            const QStringList families = QFontDatabase::applicationFontFamilies(id);
            // The monospaced face: its Latin letters are exactly half a CJK cell wide.
            for (const QString& f : families)
                if (f.endsWith(QLatin1String("Mono"))) return f;
            if (!families.isEmpty()) return families.front();
        }
        return QString(kFontFallback);
    }();
    return family;
}

uint64_t GlyphCache::ShapeOf(const Key& k)
{
    return (uint64_t(uint32_t(k.width)) << 40) ^ (uint64_t(uint32_t(k.height)) << 8) ^ k.flags;
}

size_t GlyphCache::KeyHash::operator()(const Key& k) const
{
    return std::hash<std::string>()(k.text) ^ size_t(ShapeOf(k) * 0x9E3779B97F4A7C15ull);
}

const QFont& GlyphCache::Font(bool fontB)
{
    // Made on first use: a font needs the application object, a cache does not.
    if (!m_fontsMade) {
        m_fontA = GlyphFont(kFontACellH - 2);
        m_fontB = GlyphFont(kFontBCellH - 2);
        m_fontAMarked = GlyphFont(kFontACellH - 3);
        m_capitalTop = QFontMetricsF(m_fontA).tightBoundingRect(QStringLiteral("H")).top();
        m_fontsMade = true;
    }
    return fontB ? m_fontB : m_fontA;
}

// At font A's size the face flattens the marks over capitals to one row of dots (Š and Ś
// one dot apart, Č Š Ž read as Ċ Ṡ Ż); a dot smaller it draws them whole, as font B does.
// Only characters inked above a capital's height are drawn so.
const QFont& GlyphCache::FontFor(const Glyph& g, const QString& text)
{
    const QFont& font = Font(g.fontB);
    if (g.fontB || g.wide) return font;
    const double markRows = m_capitalTop - QFontMetricsF(font).tightBoundingRect(text).top();
    return markRows > 2 ? m_fontAMarked : font;
}

int GlyphCache::PaintLine(QImage& image, int top, const TextLine& line)
{
    int inked = 0;
    std::optional<QPainter> painter;   // only for characters that cannot be stamped
    const bool stampable = image.format() == QImage::Format_Grayscale8;   // a byte a dot, as the masks
    const int foot = line.textHeight > 0 ? line.textHeight : line.height;
    for (const Glyph& g : line.glyphs) {
        const Entry& e = Find(g);
        if (stampable && !e.direct) {
            inked = std::max(inked, Stamp(image, top + foot - g.height, g, e));
            continue;
        }
        if (!painter) {
            painter.emplace(&image);
            painter->setRenderHint(QPainter::Antialiasing, false);
            painter->setRenderHint(QPainter::TextAntialiasing, false);
        }
        PaintDirect(*painter, top + foot - g.height, g);
        inked = image.height();   // where its ink went is not known
    }
    return inked;
}

const GlyphCache::Entry& GlyphCache::Find(const Glyph& g)
{
    Key key{g.text, g.width, g.height, KeyFlags(g)};
    auto it = m_entries.find(key);
    if (it != m_entries.end()) return it->second;
    ++m_misses;
    if (m_entries.size() >= kMaxCachedGlyphs || m_runs >= kMaxCachedRuns) {
        m_entries.clear();
        m_greyShapes.clear();
        m_runs = 0;
    }
    // Where one character came out grey, the others of its size and style will too: they
    // are drawn with the painter straight away rather than tried in a mask first.
    const uint64_t shape = ShapeOf(key);
    Entry entry;
    if (m_greyShapes.count(shape)) {
        entry.direct = true;
    } else {
        entry = Draw(g);
        if (entry.grey) m_greyShapes.insert(shape);
    }
    m_runs += entry.runs.size();
    return m_entries.emplace(std::move(key), std::move(entry)).first->second;
}

int GlyphCache::Stamp(QImage& image, int cellTop, const Glyph& g, const Entry& e)
{
    ++m_stamped;
    const uchar ink = g.reverse ? kWhite : kBlack;
    const int spanX = SpanLeft(g), spanW = g.width + g.spacing;
    if (g.reverse) FillRect(image, spanX, cellTop, spanW, g.height, kBlack);
    const int width = image.width(), height = image.height();
    uchar* const bits = image.bits();
    const qsizetype stride = image.bytesPerLine();
    for (const Run& r : e.runs) {
        const int y = cellTop + r.dy;
        if (y < 0 || y >= height) continue;
        const int x0 = std::max(g.x + r.dx, 0), x1 = std::min(g.x + r.dx + r.length, width);
        if (x0 < x1) std::memset(bits + y * stride + x0, ink, size_t(x1 - x0));
    }
    if (g.underline > 0) FillRect(image, spanX, cellTop + g.height - g.underline, spanW, g.underline, ink);
    return std::clamp(cellTop + std::max(e.inkBottom, g.height), 0, height);
}

// The character drawn into its unmagnified cell, then stretched onto the glyph's cell.
void GlyphCache::DrawText(QPainter& p, QPointF centre, const Glyph& g, const QColor& ink)
{
    const bool fontB = g.fontB;
    const int baseH = fontB ? kFontBCellH : kFontACellH;
    const int baseW = (fontB ? kFontBCellW : kFontACellW) * (g.wide ? 2 : 1);

    p.save();
    p.translate(centre);
    if (g.upsideDown) p.rotate(180);
    if (g.rotated) {
        p.rotate(90);
        p.scale(double(g.height) / baseW, double(g.width) / baseH);
    } else {
        p.scale(double(g.width) / baseW, double(g.height) / baseH);
    }
    const QString text = QString::fromUtf8(g.text.data(), qsizetype(g.text.size()));
    const QFont& font = FontFor(g, text);
    p.setFont(font);
    p.setPen(ink);
    const QRectF base(-baseW / 2.0, -baseH / 2.0, baseW, baseH);
    if (text.size() == 1 && PaintBoxCharacter(p, base, text.front().unicode(), ink)) {
        p.restore();
        return;
    }
    // A character the font draws wider than the cell (Cyrillic, Greek, symbols: their full
    // width) is narrowed to fit it, as the printer's own font has it; cut at the cell's edges
    // it loses its sides (the tail of щ, and it reads as ш).
    const double half = BoxOrBlock(text) ? 0 : WidestInkHalf(QFontMetricsF(font), text, g.bold);
    if (half > baseW / 2.0) {
        const double squeeze = (baseW / 2.0 - 0.5) / half;
        p.scale(squeeze, 1);
        const QRectF wide(base.left() / squeeze, base.top(), base.width() / squeeze, base.height());
        p.drawText(wide, Qt::AlignCenter, text);
        if (g.bold) p.drawText(wide.translated(1, 0), Qt::AlignCenter, text);
        p.restore();
        return;
    }
    p.drawText(base, Qt::AlignCenter, text);
    if (g.bold) p.drawText(base.translated(1, 0), Qt::AlignCenter, text);   // double strike
    p.restore();
}

void GlyphCache::PaintDirect(QPainter& p, int cellTop, const Glyph& g)
{
    const QRect cell(g.x, cellTop, g.width, g.height);
    const QRect span(SpanLeft(g), cellTop, g.width + g.spacing, g.height);
    const QColor ink = g.reverse ? Qt::white : Qt::black;
    if (g.reverse) p.fillRect(span, Qt::black);
    DrawText(p, CellCentre(cell), g, ink);
    if (g.underline > 0) p.fillRect(QRect(span.left(), span.bottom() + 1 - g.underline, span.width(), g.underline), ink);
}

// Black on white in a mask of the cell with a margin of half the cell all round; ink that
// reaches the mask's edge may have been cut off, and such a character is drawn directly.
GlyphCache::Entry GlyphCache::Draw(const Glyph& g)
{
    Entry entry;
    ++m_masks;
    const int margin = std::max(g.width, g.height) / 2 + 2;
    const int maskW = g.width + 2 * margin, maskH = g.height + 2 * margin;
    if (g.width <= 0 || g.height <= 0 || maskW > INT16_MAX || maskH > INT16_MAX) {
        entry.direct = true;
        return entry;
    }
    if (m_scratch.width() < maskW || m_scratch.height() < maskH)
        m_scratch = QImage(std::max(maskW, m_scratch.width()), std::max(maskH, m_scratch.height()),
                           QImage::Format_Grayscale8);
    QImage mask(m_scratch.bits(), maskW, maskH, m_scratch.bytesPerLine(), QImage::Format_Grayscale8);
    for (int y = 0; y < maskH; ++y) std::memset(mask.scanLine(y), kWhite, size_t(maskW));
    {
        QPainter p(&mask);
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setRenderHint(QPainter::TextAntialiasing, false);
        DrawText(p, CellCentre(QRect(margin, margin, g.width, g.height)), g, Qt::black);
    }
    for (int y = 0; y < maskH; ++y) {
        const uchar* line = mask.constScanLine(y);
        if (AllWhite(line, maskW)) continue;
        for (int x = 0; x < maskW;) {
            if (line[x] == kWhite) {
                ++x;
                continue;
            }
            const bool edge = x == 0 || y == 0 || y == maskH - 1;
            int end = x;
            while (end < maskW && line[end] == kBlack) ++end;
            // Grey (large characters are filled as outlines, with soft edges) or ink at the
            // edge: drawn with a painter every time, as the grey depends on what lies below.
            if (end == x || edge || end == maskW) {
                entry.runs.clear();
                entry.direct = true;
                entry.grey = end == x;
                return entry;
            }
            entry.runs.push_back({int16_t(y - margin), int16_t(x - margin), int16_t(end - x)});
            entry.inkBottom = std::max(entry.inkBottom, y - margin + 1);
            x = end;
        }
    }
    return entry;
}

} // namespace tallyx::vprinter
