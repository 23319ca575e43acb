#include "vprinter/interpret/BarcodeExecutor.h"

#include "vprinter/symbols/BarcodeData.h"

#include <algorithm>

namespace tallyx::vprinter {

namespace {

// 0..3 or '0'..'3'; -1 for anything else.
int SmallValue(uint8_t n, int largest)
{
    const int v = n >= '0' ? n - '0' : n;
    return v >= 0 && v <= largest ? v : -1;
}

// Code 39, ITF and Codabar: the wide element's dots at each module width, as the command
// references give them (thin 0.25 mm, thick 0.625 mm at width 2, and so on).
int WideDots(int moduleWidth)
{
    static constexpr int kWide[] = {0, 3, 5, 8, 10, 13, 16, 18, 20};
    return kWide[std::clamp(moduleWidth, 1, 8)];
}

bool TwoWidth(SymbolKind kind)
{
    return kind == SymbolKind::Code39 || kind == SymbolKind::Itf || kind == SymbolKind::Codabar;
}

} // namespace

std::string BarcodeExecutor::Execute(const Command& cmd)
{
    const uint8_t n = cmd.Arg();
    switch (cmd.def.op) {
    case Op::HriPosition: {
        const int v = SmallValue(n, 3);
        if (v < 0) return "invalid value, ignored";
        m_setup.hriPosition = uint8_t(v);
        static constexpr const char* kNames[] = {"none", "above", "below", "above and below"};
        return kNames[v];
    }
    case Op::HriFont: {
        const int v = SmallValue(n, 2);
        if (v < 0) return "invalid value, ignored";
        m_setup.hriFontB = v != 0;
        return v ? "font B" : "font A";
    }
    case Op::BarHeight:
        if (n == 0) return "invalid value, ignored";
        m_setup.barHeight = n;
        return std::to_string(n) + " dots";
    case Op::BarWidth:
        if (n < 1 || n > 8) return "invalid value, ignored";
        m_setup.moduleWidth = n;
        return std::to_string(n);
    case Op::BarMargin: m_setup.leftMargin = n; return std::to_string(n) + " dots";
    case Op::Barcode: return Print(n, cmd.payload, cmd.kept);
    default: return "";
    }
}

std::string BarcodeExecutor::Print(uint8_t m, const Bytes& data, bool kept)
{
    const BarcodeSymbology* s = FindBarcodeSymbology(m);
    if (!s) return "unknown symbology " + std::to_string(m) + ", ignored";
    if (!kept) return "no terminator within 255 bytes, ignored";
    if (data.empty()) return "no data, ignored";
    const std::string name(s->name);
    const BarcodeInput input = PrepareBarcodeData(s->kind, data);
    if (!input.fault.empty()) return name + " " + PrintableText(data) + ": " + input.fault + ", not printed";
    SymbolRequest request{s->kind, input.data};
    request.gs1Checked = input.gs1Checked;
    SymbolResult encoded = EncodeSymbol(request);
    if (!encoded.error.empty()) return name + " " + PrintableText(data) + ": " + encoded.error + ", not printed";
    int moduleDots = m_setup.moduleWidth;
    if (TwoWidth(s->kind)) {
        encoded.modules = TwoWidthElements(encoded.modules, moduleDots, WideDots(moduleDots));
        moduleDots = 1;
    }

    const int paper = m_ctx.layout.PaperDots();
    const int barsWidth = encoded.modules.width * moduleDots;
    const int width = m_setup.leftMargin + barsWidth;
    if (width > paper)
        return name + " " + PrintableText(data) + ": " + std::to_string(width) + " dots wide, wider than the paper (" +
               std::to_string(paper) + "), not printed";

    m_ctx.layout.FlushLine();
    Picture bars = ModulesToPicture(encoded.modules, moduleDots, m_setup.barHeight, m_setup.leftMargin);
    bars.x = m_ctx.layout.AlignedX(width, m_ctx.style.align);
    const int barsX = bars.x + m_setup.leftMargin;
    if (m_setup.hriPosition & 1) PlaceReadableLine(encoded.modules.text, barsX, barsWidth);
    m_ctx.layout.Place(std::move(bars));
    if (m_setup.hriPosition & 2) PlaceReadableLine(encoded.modules.text, barsX, barsWidth);

    std::string detail = name + " " + PrintableText(data);
    if (!input.note.empty()) detail += " (" + input.note + ")";
    return detail;
}

void BarcodeExecutor::PlaceReadableLine(const std::string& text, int x, int width)
{
    const int cellW = m_setup.hriFontB ? kFontBCellW : kFontACellW;
    const int cellH = m_setup.hriFontB ? kFontBCellH : kFontACellH;
    const int paper = m_ctx.layout.PaperDots();
    TextLine line;
    line.height = cellH;
    int cursor = std::max(0, x + (width - int(text.size()) * cellW) / 2);
    for (char c : text) {
        if (cursor + cellW > paper) break;
        Glyph g;
        g.x = cursor;
        g.width = cellW;
        g.height = cellH;
        g.text = (c >= 0x20 && c < 0x7F) ? std::string(1, c) : std::string(" ");
        g.fontB = m_setup.hriFontB;
        line.glyphs.push_back(std::move(g));
        cursor += cellW;
    }
    m_ctx.layout.Place(std::move(line));
}

} // namespace tallyx::vprinter
