#include "vprinter/Executors.h"

#include "vprinter/CodePages.h"

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
    switch (cmd.def.op) {
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
        layout.FeedDots(n);
        return std::to_string(n) + " dots";
    case Op::DefaultSpacing: style.lineSpacing = kDefaultLineSpacing; return "";
    case Op::LineSpacing: style.lineSpacing = n; return std::to_string(n) + " dots";
    default: return "";
    }
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
        return CodePageText(n);
    case Op::SelectFont: style.fontB = n & 1; return (n & 1) ? "B" : "A";
    default: return "";
    }
}

} // namespace tallyx::vprinter
