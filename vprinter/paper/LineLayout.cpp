#include "vprinter/paper/LineLayout.h"

#include <algorithm>

namespace tallyx::vprinter {

int BlockHeight(const Block& block)
{
    struct {
        int operator()(const TextLine& b) const { return b.height; }
        int operator()(const Picture& b) const { return b.height; }
        int operator()(const Feed& b) const { return b.dots; }
    } height;
    return std::visit(height, block);
}

void LineLayout::AddChar(const std::string& utf8, bool wide, const TextStyle& style)
{
    const int cellW = (style.fontB ? kFontBCellW : kFontACellW) * (wide ? 2 : 1);
    const int cellH = style.fontB ? kFontBCellH : kFontACellH;
    Glyph g;
    const int area = AreaWidth();
    g.width = std::min(cellW * style.scaleW, area);
    g.height = cellH * style.scaleH;
    if (style.rotated) {
        // The character lies on its side: what was its height runs across the paper.
        g.width = std::min(cellH * style.scaleH, area);
        g.height = cellW * style.scaleW;
    }
    if (m_line.glyphs.empty()) {
        // Alignment and upside-down apply to a whole line, as set when it begins.
        m_lineAlign = style.align;
        m_lineUpsideDown = style.upsideDown;
    }
    if (m_cursor + g.width > area) {
        FlushLine();
        m_lineAlign = style.align;
        m_lineUpsideDown = style.upsideDown;
    }
    // Room for a line of font A at once, not grown one doubling at a time.
    if (m_line.glyphs.capacity() == 0) m_line.glyphs.reserve(size_t(std::max(area / kFontACellW, 1)));
    g.x = m_cursor;
    g.text = utf8;
    g.wide = wide;
    g.fontB = style.fontB;
    g.bold = style.bold;
    g.underline = style.rotated ? 0 : (wide ? style.underlineWide : style.underline);   // rotated text is never underlined
    g.reverse = style.reverse;
    g.rotated = style.rotated;
    g.upsideDown = m_lineUpsideDown;
    // Magnified characters have their spacing magnified with them; it never passes the area's edge.
    if (!wide) g.spacing = std::clamp(style.rightSpacing * style.scaleW, 0, area - m_cursor - g.width);
    m_cursor += g.width + g.spacing;
    m_lineRight = std::max(m_lineRight, m_cursor);
    m_lineSpacing = style.lineSpacing;
    m_line.glyphs.push_back(std::move(g));
}

void LineLayout::Tab(const TextStyle& style)
{
    int next = 0;
    if (m_tabStops) {
        const auto stop = std::upper_bound(m_tabStops->begin(), m_tabStops->end(), m_cursor);
        if (stop == m_tabStops->end()) return;   // past the last stop: ignored
        next = *stop;
    } else {
        const int stop = 8 * (style.fontB ? kFontBCellW : kFontACellW);
        next = (m_cursor / stop + 1) * stop;
    }
    if (next >= AreaWidth()) return;
    if (m_line.glyphs.empty()) {
        m_lineAlign = style.align;
        m_lineUpsideDown = style.upsideDown;
    }
    m_cursor = next;
}

void LineLayout::LineFeed(const TextStyle& style)
{
    // A line that only moved the position (HT, ESC $) still feeds its spacing.
    if (m_line.glyphs.empty()) {
        m_cursor = 0;
        FeedDots(style.lineSpacing);
        return;
    }
    m_lineSpacing = style.lineSpacing;
    FlushLine();
}

void LineLayout::FlushLine()
{
    if (m_line.glyphs.empty()) {
        m_cursor = 0;
        return;
    }
    int tallest = 0;
    for (const Glyph& g : m_line.glyphs) tallest = std::max(tallest, g.height);
    m_line.height = std::max(tallest, m_lineSpacing);
    if (m_textAtTop) m_line.textHeight = tallest;
    const int shift = AlignedX(std::max(m_cursor, m_lineRight), m_lineAlign);
    for (Glyph& g : m_line.glyphs) {
        g.x += shift;
        // An upside-down line reads right to left on the paper, each spacing left of its character.
        if (m_lineUpsideDown) g.x = m_receipt.widthDots - g.x - g.width;
    }
    TextLine line = std::move(m_line);
    m_line = {};
    m_cursor = 0;
    m_lineRight = 0;
    Append(std::move(line));
}

void LineLayout::DiscardLine()
{
    m_line = {};
    m_cursor = 0;
    m_lineRight = 0;
}

bool LineLayout::MoveTo(int x, const TextStyle& style)
{
    if (x < 0 || x >= AreaWidth()) return false;
    if (m_line.glyphs.empty()) {
        m_lineAlign = style.align;
        m_lineUpsideDown = style.upsideDown;
    }
    m_cursor = x;
    return true;
}

bool LineLayout::MoveBy(int dx, const TextStyle& style)
{
    return MoveTo(m_cursor + dx, style);
}

void LineLayout::SetLeftMargin(int dots)
{
    m_leftMargin = std::clamp(dots, 0, m_receipt.widthDots - 1);
}

void LineLayout::SetAreaWidth(int dots)
{
    m_areaWidth = std::max(dots, 0);
}

int LineLayout::AreaWidth() const
{
    const int room = m_receipt.widthDots - m_leftMargin;
    return m_areaWidth > 0 ? std::min(m_areaWidth, room) : room;
}

void LineLayout::ResetArea()
{
    m_leftMargin = 0;
    m_areaWidth = 0;
    m_tabStops.reset();
}

void LineLayout::AddPicture(Picture picture, Align align)
{
    FlushLine();
    picture.x = AlignedX(picture.width, align);
    Append(std::move(picture));
}

void LineLayout::Place(Block block)
{
    FlushLine();
    Append(std::move(block));
}

void LineLayout::FeedDots(int dots)
{
    if (dots > 0) Append(Feed{std::min(dots, kMaxBlockDots)});
}

Receipt LineLayout::TakeReceipt()
{
    Receipt done = std::move(m_receipt);
    m_receipt = {done.widthDots, 0, {}};
    return done;
}

size_t LineLayout::HeldBytes() const
{
    size_t total = 0;
    auto glyphs = [](const TextLine& line) { return line.glyphs.size() * (sizeof(Glyph) + 8); };
    for (const Block& b : m_receipt.blocks) {
        total += sizeof(Block);
        if (auto* p = std::get_if<Picture>(&b)) total += p->dots.size();
        if (auto* t = std::get_if<TextLine>(&b)) total += glyphs(*t);
    }
    return total + glyphs(m_line);
}

namespace {
// A picture placed right of a wide left margin would reach past the paper: the head has no
// dots there, so what lies beyond its edge is cut off.
void ClipToPaper(Picture& pic, int paperDots)
{
    const int room = std::max(paperDots - pic.x, 0);
    if (pic.width <= room) return;
    std::vector<uint8_t> kept(size_t(room) * size_t(pic.height));
    for (int row = 0; row < pic.height; ++row)
        std::copy_n(pic.dots.begin() + ptrdiff_t(row) * pic.width, room, kept.begin() + ptrdiff_t(row) * room);
    pic.width = room;
    pic.dots = std::move(kept);
}
} // namespace

void LineLayout::Append(Block block)
{
    if (auto* pic = std::get_if<Picture>(&block)) ClipToPaper(*pic, m_receipt.widthDots);
    m_receipt.heightDots += BlockHeight(block);
    m_receipt.blocks.push_back(std::move(block));
    if (onBlock) onBlock(m_receipt.blocks.back());
}

int LineLayout::AlignedX(int width, Align align) const
{
    const int room = std::max(0, AreaWidth() - width);
    switch (align) {
    case Align::Centre: return m_leftMargin + room / 2;
    case Align::Right: return m_leftMargin + room;
    case Align::Left: break;
    }
    return m_leftMargin;
}

} // namespace tallyx::vprinter
