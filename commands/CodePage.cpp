#include "commands/CodePage.h"

#include "commands/MainCommands.h"
#include "res/CodePages.h"

namespace tallyx {

std::optional<Bytes> BuildSetCodePageCommand(int position)
{
    if (position < 0 || position >= int(kCodePages.size())) return std::nullopt;
    // Vendor command; the two line feeds belong to it.
    return Bytes{0x1F, 0x1B, 0x1F, 0xFF, uint8_t(kCodePages[size_t(position)].Number()), 0x0A, 0x0A};
}

Bytes BuildCodePageChart()
{
    Bytes out{
        0x1B, 0x40,         // ESC @  initialise
        0x1C, 0x2E,         // FS .   leave Chinese mode: 80..FF are code page characters
        0x1B, 0x21, 0x00,   // ESC !  normal size
    };
    auto appendUpperHalf = [&out] {
        for (int c = 0x80; c <= 0xFF; ++c) out.push_back(uint8_t(c));
    };
    appendUpperHalf();
    out.insert(out.end(), {0x0A, 0x0A, 0x1B, 0x21, 0x30});   // ESC ! double height and width
    appendUpperHalf();
    out.insert(out.end(), {
        0x0A,
        0x1B, 0x40,               // ESC @  ends the enlarged mode
        0x1D, 0x56, 0x41, 0x48,   // GS V A 72: feed past the cutter and cut
        0x1C, 0x26,               // FS &   back to Chinese mode
    });
    return out;
}

Bytes BuildCodePageSelfTest()
{
    return BuildMainCommand(*FindMainCommandByCliName("selftest-page"));
}

} // namespace tallyx
