#pragma once
// A receipt as the print head lays it out, in dots, with no drawing code: the renderer
// paints these blocks top to bottom, and tests read them directly.
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "res/Profiles.h"

namespace tallyx::vprinter {

using tallyx::kPaper58Dots;
using tallyx::kPaper80Dots;
// A receipt longer than this (about 2 m of paper) is ended after the line that crosses it,
// without a cut, and a new one begun: a stream that never cuts still comes out as pictures
// a viewer opens and memory holds (9 MB of grey at 80 mm). Lines of 30 dots cross it at 16,020.
inline constexpr int kMaxReceiptDots = 16000;
// A single image block is clipped to this height.
inline constexpr int kMaxBlockDots = 4096;

struct Glyph {
    int x = 0;            // left edge of the cell, in dots
    int width = 0;        // cell size after magnification
    int height = 0;
    std::string text;     // one character, UTF-8
    bool wide = false;    // a double-byte (CJK) cell
    bool fontB = false;   // the 9 x 17 font
    bool bold = false;
    uint8_t underline = 0;   // dots of underline: 0, 1 or 2
    bool reverse = false;    // white on black
    bool rotated = false;    // turned 90 degrees clockwise
    bool upsideDown = false; // turned 180 degrees
    int spacing = 0;         // ESC SP: blank dots after the cell (before it upside down), underlined with it
};

struct TextLine {
    int height = 0;
    std::vector<Glyph> glyphs;   // bottom-aligned in the line
    int textHeight = 0;          // >0: bottom-aligned in this many dots at the line's top
};

// Dots of a picture, one byte per dot (1 = black), row-major; already scaled and clipped.
struct Picture {
    int x = 0;
    int width = 0;
    int height = 0;
    std::vector<uint8_t> dots;
    bool Dot(int col, int row) const { return dots[size_t(row) * size_t(width) + size_t(col)] != 0; }
};

struct Feed {
    int dots = 0;
};

using Block = std::variant<TextLine, Picture, Feed>;

int BlockHeight(const Block& block);

enum class CutKind : uint8_t { None, Full, Partial };

struct Receipt {
    int widthDots = kPaper58Dots;
    int heightDots = 0;
    std::vector<Block> blocks;
    CutKind cut = CutKind::None;   // how it left the printer (None: the silence ended it)
    bool Empty() const { return blocks.empty(); }
    // Nothing but paper fed: no text line, picture or symbol.
    bool Blank() const
    {
        for (const Block& b : blocks)
            if (!std::holds_alternative<Feed>(b)) return false;
        return true;
    }
};

} // namespace tallyx::vprinter
