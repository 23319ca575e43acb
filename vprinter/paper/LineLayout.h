#pragma once
// Places characters on the current print line, wraps a full line, aligns it when it is printed,
// and collects the printed blocks into the current receipt.
#include <functional>
#include <optional>
#include <vector>

#include "vprinter/paper/Receipt.h"

namespace tallyx::vprinter {

enum class Align : uint8_t { Left = 0, Centre = 1, Right = 2 };

// Character cells of the printer's two fonts before magnification.
inline constexpr int kFontACellW = 12;
inline constexpr int kFontACellH = 24;
inline constexpr int kFontBCellW = 9;
inline constexpr int kFontBCellH = 17;
inline constexpr int kDefaultLineSpacing = 30;

struct TextStyle {
    bool bold = false;
    uint8_t underline = 0;        // single-byte characters (ESC -)
    uint8_t underlineWide = 0;    // double-byte characters (FS -)
    bool rotated = false;
    bool upsideDown = false;
    bool reverse = false;
    bool fontB = false;
    int scaleW = 1;   // 1 to 8
    int scaleH = 1;
    Align align = Align::Left;
    int lineSpacing = kDefaultLineSpacing;
    int rightSpacing = 0;   // ESC SP, in dots before magnification; single-byte characters only
};

class LineLayout {
public:
    explicit LineLayout(int paperDots) : m_receipt{paperDots, 0, {}} {}

    // Called with every block as it is printed (for incremental drawing).
    std::function<void(const Block&)> onBlock;

    void AddChar(const std::string& utf8, bool wide, const TextStyle& style);
    void Tab(const TextStyle& style);
    // LF: prints the line, or feeds one line of spacing when it is empty.
    void LineFeed(const TextStyle& style);
    // Prints the line if it holds anything (before a picture, at idle).
    void FlushLine();
    // CAN and ESC @: the unprinted line is dropped.
    void DiscardLine();
    void AddPicture(Picture picture, Align align);
    // A block already placed across the paper (a symbol, its readable line).
    void Place(Block block);
    void FeedDots(int dots);
    // ESC $ / ESC \: the next character's position, in dots from the print area's left edge;
    // a position outside the area is ignored. False when ignored.
    bool MoveTo(int x, const TextStyle& style);
    bool MoveBy(int dx, const TextStyle& style);
    // GS L / GS W: the print area, the left margin from the paper's left edge.
    void SetLeftMargin(int dots);
    void SetAreaWidth(int dots);
    // ESC D: tab stops in dots from the area's left edge (empty: HT does nothing).
    void SetTabStops(std::vector<int> stops) { m_tabStops = std::move(stops); }
    // ESC @: the whole paper is the print area again, tab stops every eight characters.
    void ResetArea();
    int LeftMargin() const { return m_leftMargin; }
    // The print area's width: what GS W set, cut to the paper right of the margin.
    int AreaWidth() const;

    bool LineEmpty() const { return m_line.glyphs.empty(); }
    const Receipt& Current() const { return m_receipt; }
    // Hands over the receipt printed so far and starts a new one; the open line stays.
    Receipt TakeReceipt();
    size_t HeldBytes() const;
    int PaperDots() const { return m_receipt.widthDots; }
    // Epson's printers print a line's text at its top and feed the spacing below it.
    void SetTextAtTop(bool atTop) { m_textAtTop = atTop; }
    // Where a block `width` dots wide starts on the paper, aligned within the print area.
    int AlignedX(int width, Align align) const;

private:
    void Append(Block block);

    Receipt m_receipt;
    TextLine m_line;
    int m_cursor = 0;
    int m_lineRight = 0;
    bool m_textAtTop = false;      // right edge of the rightmost character on the line
    int m_leftMargin = 0;
    int m_areaWidth = 0;      // 0: up to the paper's right edge
    std::optional<std::vector<int>> m_tabStops;   // none: every eight characters
    Align m_lineAlign = Align::Left;
    bool m_lineUpsideDown = false;
    int m_lineSpacing = kDefaultLineSpacing;
};

} // namespace tallyx::vprinter
