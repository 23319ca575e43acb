#include "vprinter/paper/ReceiptText.h"

#include <algorithm>

namespace tallyx::vprinter {

std::vector<std::string> ReceiptTextLines(const Receipt& receipt)
{
    std::vector<std::string> lines;
    for (const Block& block : receipt.blocks) {
        const auto* line = std::get_if<TextLine>(&block);
        if (!line || line->glyphs.empty()) continue;
        std::vector<const Glyph*> glyphs;
        for (const Glyph& g : line->glyphs) glyphs.push_back(&g);
        std::stable_sort(glyphs.begin(), glyphs.end(), [](const Glyph* a, const Glyph* b) { return a->x < b->x; });
        std::string text;
        int end = glyphs.front()->x;
        for (const Glyph* g : glyphs) {
            if (!text.empty() && g->width > 0 && g->x - end >= g->width) text += ' ';
            text += g->text;
            end = g->x + g->width;
        }
        lines.push_back(text);
    }
    return lines;
}

} // namespace tallyx::vprinter
