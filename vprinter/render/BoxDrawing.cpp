#include "vprinter/render/BoxDrawing.h"

#include <cstdint>

namespace tallyx::vprinter {

namespace {

// The light horizontal line is the font's own: it already runs from edge to edge, on the
// centre row the arms here use.
struct BoxArms {
    char16_t c;
    uint8_t up, down, left, right;   // 0 none, 1 light, 2 heavy, 3 double
};
constexpr BoxArms kBoxArms[] = {
    {u'\u2501', 0, 0, 2, 2}, {u'\u2502', 1, 1, 0, 0}, {u'\u2503', 2, 2, 0, 0},
    {u'\u250C', 0, 1, 0, 1}, {u'\u2510', 0, 1, 1, 0}, {u'\u2514', 1, 0, 0, 1}, {u'\u2518', 1, 0, 1, 0},
    {u'\u251C', 1, 1, 0, 1}, {u'\u2524', 1, 1, 1, 0}, {u'\u252C', 0, 1, 1, 1}, {u'\u2534', 1, 0, 1, 1},
    {u'\u253C', 1, 1, 1, 1}, {u'\u2550', 0, 0, 3, 3}, {u'\u2551', 3, 3, 0, 0}, {u'\u2554', 0, 3, 0, 3},
    {u'\u2557', 0, 3, 3, 0}, {u'\u255A', 3, 0, 0, 3}, {u'\u255D', 3, 0, 3, 0}, {u'\u2560', 3, 3, 0, 3},
    {u'\u2563', 3, 3, 3, 0}, {u'\u2566', 0, 3, 3, 3}, {u'\u2569', 3, 0, 3, 3}, {u'\u256C', 3, 3, 3, 3},
    {u'\u256D', 0, 1, 0, 1}, {u'\u256E', 0, 1, 1, 0}, {u'\u256F', 1, 0, 1, 0}, {u'\u2570', 1, 0, 0, 1},
};

// One arm from the centre to an edge; `along` horizontal or vertical.
void PaintArm(QPainter& p, const QRectF& cell, uint8_t weight, bool horizontal, bool toStart, const QColor& ink)
{
    if (weight == 0) return;
    const double cx = cell.center().x(), cy = cell.center().y();
    const double t = weight == 2 ? 4 : 2;
    auto bar = [&](double offset, double thick) {
        if (horizontal) {
            const double x0 = toStart ? cell.left() : cx - thick / 2, x1 = toStart ? cx + thick / 2 : cell.right();
            p.fillRect(QRectF(x0, cy + offset - thick / 2, x1 - x0, thick), ink);
        } else {
            const double y0 = toStart ? cell.top() : cy - thick / 2, y1 = toStart ? cy + thick / 2 : cell.bottom();
            p.fillRect(QRectF(cx + offset - thick / 2, y0, thick, y1 - y0), ink);
        }
    };
    if (weight == 3) {
        bar(-2, 2);
        bar(2, 2);
    } else if (weight == 1 && horizontal) {
        bar(-0.5, 1);   // one dot high, on the row of the font's own light horizontal
    } else {
        bar(0, t);
    }
}

} // namespace

bool PaintBoxCharacter(QPainter& p, const QRectF& cell, char16_t c, const QColor& ink)
{
    for (const BoxArms& a : kBoxArms) {
        if (a.c != c) continue;
        PaintArm(p, cell, a.up, false, true, ink);
        PaintArm(p, cell, a.down, false, false, ink);
        PaintArm(p, cell, a.left, true, true, ink);
        PaintArm(p, cell, a.right, true, false, ink);
        return true;
    }
    const double w = cell.width(), h = cell.height();
    if (c >= u'\u2581' && c <= u'\u2588') {   // lower eighths up to the full block
        const double part = h * (c - 0x2580) / 8;
        p.fillRect(QRectF(cell.left(), cell.bottom() - part, w, part), ink);
        return true;
    }
    if (c >= u'\u2589' && c <= u'\u258F') {   // left seven eighths down to one eighth
        p.fillRect(QRectF(cell.left(), cell.top(), w * (0x2590 - c) / 8, h), ink);
        return true;
    }
    switch (c) {
    case u'\u2580': p.fillRect(QRectF(cell.left(), cell.top(), w, h / 2), ink); return true;
    case u'\u2590': p.fillRect(QRectF(cell.left() + w / 2, cell.top(), w / 2, h), ink); return true;
    case u'\u2594': p.fillRect(QRectF(cell.left(), cell.top(), w, h / 8), ink); return true;
    case u'\u2595': p.fillRect(QRectF(cell.right() - w / 8, cell.top(), w / 8, h), ink); return true;
    case u'\u2591':
    case u'\u2592':
    case u'\u2593': {   // shades: one dot in four, in two, three in four
        for (int y = 0; y < int(h); ++y)
            for (int x = 0; x < int(w); ++x) {
                const bool even = (x + y) % 2 == 0;
                const bool ink1 = c == u'\u2591' ? (x % 2 == 0 && y % 2 == 0) : c == u'\u2592' ? even : !(x % 2 == 1 && y % 2 == 1);
                if (ink1) p.fillRect(QRectF(cell.left() + x, cell.top() + y, 1, 1), ink);
            }
        return true;
    }
    default: return false;
    }
}

bool BoxOrBlock(const QString& text)
{
    return text.size() == 1 && text.front().unicode() >= 0x2500 && text.front().unicode() <= 0x259F;
}

} // namespace tallyx::vprinter
