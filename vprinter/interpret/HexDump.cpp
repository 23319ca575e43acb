#include "vprinter/interpret/HexDump.h"

#include <algorithm>

namespace tallyx::vprinter {

namespace {
constexpr char kHexDigits[] = "0123456789ABCDEF";
}

void HexDump::Start()
{
    m_ctx.layout.FlushLine();
    m_active = true;
}

void HexDump::Take(uint8_t b)
{
    m_line.push_back(b);
    if (m_line.size() == BytesPerLine()) PrintLine();
}

void HexDump::End()
{
    if (!m_active) return;
    if (!m_line.empty()) PrintLine();
    m_active = false;
}

size_t HexDump::BytesPerLine() const
{
    // "XX " per byte, a space, then one character per byte, in 12-dot cells.
    return size_t(std::max(1, (m_ctx.layout.PaperDots() / kFontACellW - 1) / 4));
}

void HexDump::PrintLine()
{
    std::string text;
    for (uint8_t b : m_line) {
        text += kHexDigits[b >> 4];
        text += kHexDigits[b & 0x0F];
        text += ' ';
    }
    text.append(3 * (BytesPerLine() - m_line.size()) + 1, ' ');
    for (uint8_t b : m_line) text += (b >= 0x20 && b < 0x7F) ? char(b) : '.';
    m_ctx.PrintLine(text, TextStyle{});
    m_ctx.Log(m_line, {}, m_line.size(), "hex dump", "printed as a hex dump line");
    m_line.clear();
}

} // namespace tallyx::vprinter
