#pragma once
// Characters drawn once and stamped many times. A receipt repeats a few dozen characters in
// a few styles, and laying out and drawing text costs far more than copying its dots, so
// each distinct character cell is drawn into a mask once and its ink copied from then on.
// The dots are exactly those of drawing the character straight onto the paper.
// Not thread-safe: one cache per canvas (under its lock) or per rendering call.
#include <QColor>
#include <QFont>
#include <QImage>
#include <QPointF>
#include <QString>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "vprinter/paper/Receipt.h"

class QPainter;

namespace tallyx::vprinter {

// The CJK font the printer's characters are drawn with (WenQuanYi Zen Hei).
QString PrinterFontFamily();

// More distinct cells than this, or more stored ink runs, and the cache starts again empty,
// so a stream of ever new characters cannot grow it without end.
inline constexpr size_t kMaxCachedGlyphs = 4096;
inline constexpr size_t kMaxCachedRuns = 1024 * 1024;   // 6 bytes each

class GlyphCache {
public:
    // Draws a text line whose top edge is row `top`; returns one past the lowest row it may
    // have inked (ink may spill out of a cell, as the font draws it).
    int PaintLine(QImage& image, int top, const TextLine& line);

    size_t Size() const { return m_entries.size(); }
    size_t Runs() const { return m_runs; }         // stretches of ink held
    size_t Misses() const { return m_misses; }     // cells met for the first time
    size_t Masks() const { return m_masks; }       // cells drawn into a mask
    size_t Stamped() const { return m_stamped; }   // characters copied from a mask

private:
    struct Key {
        std::string text;
        int width = 0;
        int height = 0;
        uint8_t flags = 0;
        bool operator==(const Key&) const = default;
    };
    struct KeyHash {
        size_t operator()(const Key& k) const;
    };
    // A horizontal stretch of ink, relative to the cell's top-left corner.
    struct Run {
        int16_t dy;
        int16_t dx;
        int16_t length;
    };
    struct Entry {
        std::vector<Run> runs;
        int inkBottom = 0;     // one past the lowest inked row, relative to the cell top
        bool direct = false;   // the mask could not hold it: drawn with a painter every time
        bool grey = false;     // ... because its edges came out grey
    };

    static uint64_t ShapeOf(const Key& k);   // the key without the character
    const Entry& Find(const Glyph& g);
    Entry Draw(const Glyph& g);
    int Stamp(QImage& image, int cellTop, const Glyph& g, const Entry& e);
    void PaintDirect(QPainter& p, int cellTop, const Glyph& g);
    void DrawText(QPainter& p, QPointF centre, const Glyph& g, const QColor& ink);
    const QFont& Font(bool fontB);
    const QFont& FontFor(const Glyph& g, const QString& text);

    bool m_fontsMade = false;
    QFont m_fontA;
    QFont m_fontB;
    QFont m_fontAMarked;       // font A's capitals with a mark above them
    double m_capitalTop = 0;   // where font A's capitals begin, above the baseline
    QImage m_scratch;
    std::unordered_map<Key, Entry, KeyHash> m_entries;
    std::unordered_set<uint64_t> m_greyShapes;
    size_t m_runs = 0;
    size_t m_misses = 0;
    size_t m_masks = 0;
    size_t m_stamped = 0;
};

} // namespace tallyx::vprinter
