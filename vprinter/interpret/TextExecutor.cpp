#include "vprinter/interpret/TextExecutor.h"

#include "vprinter/text/CodePages.h"
#include "vprinter/text/InternationalSets.h"

namespace tallyx::vprinter {

namespace {

// ESC - and FS -: 0/'0' off, 1/'1' one dot, 2/'2' two dots; -1 for anything else.
int UnderlineDots(uint8_t n)
{
    if (n <= 2) return n;
    if (n >= '0' && n <= '2') return n - '0';
    return -1;
}

std::string OnOff(bool on) { return on ? "on" : "off"; }

} // namespace

std::string TextExecutor::Execute(const Command& cmd)
{
    const Bytes& h = cmd.header;
    switch (cmd.def.op) {
    case Op::AbsolutePosition:
    case Op::RelativePosition:
    case Op::LeftMargin:
    case Op::PrintWidth: return Area(cmd.def.op, h[2] | h[3] << 8);
    case Op::MotionUnits: return MotionUnits(h[2], h[3]);
    case Op::TabStops: return TabStops(cmd.payload);
    case Op::LineFeed:
    case Op::FormFeed:
    case Op::Tab:
    case Op::Cancel:
    case Op::FeedLines:
    case Op::FeedDots:
    case Op::DefaultSpacing:
    case Op::LineSpacing: return Lines(cmd.def.op, cmd.Arg());
    default: return Style(cmd.def.op, cmd.Arg());
    }
}

std::string TextExecutor::Lines(Op op, uint8_t n)
{
    TextStyle& style = m_ctx.style;
    LineLayout& layout = m_ctx.layout;
    switch (op) {
    case Op::LineFeed:
    case Op::FormFeed:
        if (m_ctx.bandLine) m_ctx.bandLine = false;   // the band was the line
        else layout.LineFeed(style);
        return "";
    case Op::Tab: layout.Tab(style); return "";
    case Op::Cancel: layout.DiscardLine(); return "";
    case Op::FeedLines:
        layout.FlushLine();
        layout.FeedDots(n * style.lineSpacing);
        return std::to_string(n) + " lines";
    case Op::FeedDots:
        layout.FlushLine();
        layout.FeedDots(m_ctx.DotsAlong(n));
        return std::to_string(m_ctx.DotsAlong(n)) + " dots";
    case Op::DefaultSpacing: style.lineSpacing = kDefaultLineSpacing; return "";
    case Op::LineSpacing: style.lineSpacing = m_ctx.DotsAlong(n); return std::to_string(style.lineSpacing) + " dots";
    default: return "";
    }
}

// n is in horizontal motion units (GS P), a dot unless told otherwise.
std::string TextExecutor::Area(Op op, int n)
{
    LineLayout& layout = m_ctx.layout;
    const std::string dots = std::to_string(m_ctx.DotsAcross(n)) + " dots";
    switch (op) {
    case Op::AbsolutePosition:
        return layout.MoveTo(m_ctx.DotsAcross(n), m_ctx.style) ? dots : "outside the print area, ignored";
    case Op::RelativePosition: {
        const int dx = m_ctx.DotsAcross(int16_t(uint16_t(n)));   // negative: to the left
        return layout.MoveBy(dx, m_ctx.style) ? std::to_string(dx) + " dots" : "outside the print area, ignored";
    }
    case Op::LeftMargin:
        // Takes effect at the start of a line, as on the printer.
        if (!layout.LineEmpty()) return "not at the start of a line, ignored";
        layout.SetLeftMargin(m_ctx.DotsAcross(n));
        return std::to_string(layout.LeftMargin()) + " dots";
    case Op::PrintWidth:
        if (!layout.LineEmpty()) return "not at the start of a line, ignored";
        layout.SetAreaWidth(m_ctx.DotsAcross(n));
        return std::to_string(layout.AreaWidth()) + " dots";
    default: return "";
    }
}

// ESC D n1 ... nk 00: columns in characters of the font and width in force now, rising.
std::string TextExecutor::TabStops(const Bytes& columns)
{
    const TextStyle& style = m_ctx.style;
    const int cell = (style.fontB ? kFontBCellW : kFontACellW) * style.scaleW;
    std::vector<int> stops;
    for (uint8_t n : columns) {
        if (n == 0) break;
        if (!stops.empty() && n * cell <= stops.back()) break;   // not rising: the rest is not set
        stops.push_back(n * cell);
    }
    const size_t count = stops.size();
    m_ctx.layout.SetTabStops(std::move(stops));
    return count == 0 ? "cleared" : std::to_string(count) + " stops";
}

// GS P x y: 1/x inch across, 1/y inch along the paper; 0 is the printer's own unit. What
// was set before keeps its dots.
std::string TextExecutor::MotionUnits(uint8_t x, uint8_t y)
{
    m_ctx.motionX = x;
    m_ctx.motionY = y;
    auto unit = [](uint8_t u) { return u == 0 ? std::string("1 dot") : "1/" + std::to_string(u) + " inch"; };
    return "across " + unit(x) + ", along " + unit(y);
}

std::string TextExecutor::Style(Op op, uint8_t n)
{
    TextStyle& style = m_ctx.style;
    switch (op) {
    case Op::PrintModeBits:
        style.fontB = n & 0x01;
        style.bold = n & 0x08;
        style.scaleH = (n & 0x10) ? 2 : 1;
        style.scaleW = (n & 0x20) ? 2 : 1;
        style.underline = (n & 0x80) ? 1 : 0;
        return "";
    case Op::Underline:
    case Op::ChineseUnderline: {
        int dots = UnderlineDots(n);
        if (dots < 0) return "invalid value, ignored";
        (op == Op::Underline ? style.underline : style.underlineWide) = uint8_t(dots);
        return std::to_string(dots) + " dots";
    }
    case Op::Bold:
    case Op::DoubleStrike: style.bold = n & 1; return OnOff(style.bold);
    case Op::Rotate: style.rotated = (n & 0x03) != 0; return OnOff(style.rotated);
    case Op::UpsideDown: style.upsideDown = n & 1; return OnOff(style.upsideDown);
    case Op::Reverse: style.reverse = n & 1; return OnOff(style.reverse);
    case Op::Align: {
        int a = n >= '0' ? n - '0' : n;
        if (a < 0 || a > 2) return "invalid value, ignored";
        style.align = Align(a);
        static constexpr const char* kNames[] = {"left", "centre", "right"};
        return kNames[a];
    }
    case Op::Magnify: {
        int w = (n >> 4) + 1, h = (n & 0x0F) + 1;
        if (w > 8 || h > 8) return "invalid value, ignored";
        style.scaleW = w;
        style.scaleH = h;
        return std::to_string(w) + "x wide, " + std::to_string(h) + "x high";
    }
    case Op::ChineseModeBits:
        style.scaleW = (n & 0x04) ? 2 : 1;
        style.scaleH = (n & 0x08) ? 2 : 1;
        style.underlineWide = (n & 0x80) ? 1 : 0;
        return "";
    case Op::ChineseQuadruple:
        style.scaleW = style.scaleH = (n & 1) ? 2 : 1;
        return OnOff(n & 1);
    case Op::ChineseOn: m_ctx.chinese = true; return "";
    case Op::ChineseOff: m_ctx.chinese = false; return "";
    case Op::CodePage:
        m_ctx.codePage = n;
        return CodePageText(n, m_ctx.profile.numbering);
    case Op::SelectFont: style.fontB = n & 1; return (n & 1) ? "B" : "A";
    case Op::CharSpacing:
        style.rightSpacing = m_ctx.DotsAcross(n);
        return std::to_string(style.rightSpacing) + " dots";
    case Op::InternationalSet: {
        const InternationalSet* set = FindInternationalSet(n);
        if (!set) return "no set " + std::to_string(n) + " on this printer, ignored";
        m_ctx.internationalSet = n;
        return std::to_string(n) + " (" + std::string(set->name) + ")";
    }
    default: return "";
    }
}

} // namespace tallyx::vprinter
