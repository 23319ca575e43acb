#pragma once
// One-dimensional barcodes: GS k, drawn with the set-up of GS H (readable line position),
// GS f (its font), GS h (bar height), GS w (module width) and GS x (left margin).
#include <string>

#include "vprinter/interpret/Executor.h"

namespace tallyx::vprinter {

struct BarcodeSetup {
    uint8_t hriPosition = 0;   // 0 none, 1 above, 2 below, 3 both
    bool hriFontB = false;     // the 9 x 17 font instead of 12 x 24
    uint8_t barHeight = 162;   // dots
    uint8_t moduleWidth = 3;   // dots
    uint8_t leftMargin = 0;    // dots
};

class BarcodeExecutor : public Executor {
public:
    using Executor::Executor;
    std::string Execute(const Command& cmd);
    // ESC @ restores the set-up.
    void Reset() { m_setup = {}; }

private:
    std::string Print(uint8_t m, const Bytes& data, bool kept);
    // The readable line, centred over the bars that start at `x` and are `width` dots wide.
    void PlaceReadableLine(const std::string& text, int x, int width);

    BarcodeSetup m_setup;
};

} // namespace tallyx::vprinter
