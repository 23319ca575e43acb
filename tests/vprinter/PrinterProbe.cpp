#include "tests/vprinter/PrinterProbe.h"

namespace tallyx::vprinter::test {

PrinterProbe::PrinterProbe(int paperDots, PrinterState initial, const Profile& profile)
    : state(std::move(initial)),
      interpreter(state, paperDots,
                  Interpreter::Hooks{
                      [this](const LogRecord& r) { logs.push_back(r); },
                      [this] { ++stateChanges; },
                      {},
                      [this](Receipt&& r) { receipts.push_back(std::move(r)); },
                      [this](const std::string& said) { voices.push_back(said); },
                      {},
                  },
                  profile)
{
}

void PrinterProbe::FeedHex(std::string_view hex)
{
    const Bytes bytes = tallyx::test::FromHex(hex);
    interpreter.Feed(bytes.data(), bytes.size(), "tcp", [this](const Bytes& r) { replies.push_back(r); });
}

void PrinterProbe::FeedBytes(std::string_view bytes)
{
    interpreter.Feed(bytes, "tcp", [this](const Bytes& r) { replies.push_back(r); });
}

std::vector<Receipt> PrinterProbe::AllReceipts() const
{
    std::vector<Receipt> all = receipts;
    all.push_back(interpreter.CurrentReceipt());
    return all;
}

std::string PrintedText(const Receipt& receipt)
{
    std::string out;
    for (const Block& block : receipt.blocks) {
        if (auto* line = std::get_if<TextLine>(&block)) {
            int cursor = -1;
            for (const Glyph& g : line->glyphs) {
                if (cursor >= 0 && g.x > cursor) out += ' ';   // a tab or alignment gap
                out += g.text;
                cursor = g.x + g.width;
            }
        } else if (auto* pic = std::get_if<Picture>(&block)) {
            out += "[picture " + std::to_string(pic->width) + "x" + std::to_string(pic->height) + "]";
        }
        out += '\n';
    }
    return out;
}

std::string Describe(const Receipt& receipt)
{
    std::string out = "receipt " + std::to_string(receipt.widthDots) + "x" + std::to_string(receipt.heightDots) + "\n";
    for (const Block& block : receipt.blocks) {
        if (auto* line = std::get_if<TextLine>(&block)) {
            out += "line " + std::to_string(line->height) + ":";
            for (const Glyph& g : line->glyphs)
                out += " " + g.text + "@" + std::to_string(g.x) + "/" + std::to_string(g.width) + "x" +
                       std::to_string(g.height) + (g.bold ? "b" : "") + std::to_string(g.underline) +
                       (g.reverse ? "r" : "") + (g.rotated ? "v" : "") + (g.upsideDown ? "u" : "") +
                       (g.wide ? "w" : "") + (g.spacing ? "+" + std::to_string(g.spacing) : "");
        } else if (auto* pic = std::get_if<Picture>(&block)) {
            out += "picture " + std::to_string(pic->x) + " " + std::to_string(pic->width) + "x" +
                   std::to_string(pic->height) + " ";
            for (uint8_t d : pic->dots) out += char('0' + d);
        } else {
            out += "feed " + std::to_string(std::get<Feed>(block).dots);
        }
        out += '\n';
    }
    return out;
}

std::string Describe(const LogRecord& r)
{
    return r.link + " " + tallyx::test::Hex(r.bytes) + " (" + std::to_string(r.length) + ") " + r.mnemonic + " = " +
           r.meaning;
}

std::vector<Glyph> GlyphsOf(const Receipt& receipt, std::string_view text)
{
    for (const Block& block : receipt.blocks) {
        auto* line = std::get_if<TextLine>(&block);
        if (!line) continue;
        std::string joined;
        std::vector<size_t> starts;
        for (const Glyph& g : line->glyphs) {
            starts.push_back(joined.size());
            joined += g.text;
        }
        const size_t at = joined.find(text);
        if (at == std::string::npos) continue;
        std::vector<Glyph> found;
        for (size_t i = 0; i < line->glyphs.size(); ++i)
            if (starts[i] >= at && starts[i] < at + text.size()) found.push_back(line->glyphs[i]);
        return found;
    }
    return {};
}

} // namespace tallyx::vprinter::test
