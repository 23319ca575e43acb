#pragma once
// Hex dump mode (1F 11 03): every byte that follows is printed as hex and characters, a
// line at a time, until the sender falls silent.
#include "vprinter/interpret/PrintContext.h"

namespace tallyx::vprinter {

class HexDump {
public:
    explicit HexDump(PrintContext& ctx) : m_ctx(ctx) {}

    bool Active() const { return m_active; }
    void Start();
    void Take(uint8_t b);
    // Prints the partial line and leaves the mode.
    void End();
    size_t HeldBytes() const { return m_line.capacity(); }

private:
    size_t BytesPerLine() const;
    void PrintLine();

    PrintContext& m_ctx;
    bool m_active = false;
    Bytes m_line;
};

} // namespace tallyx::vprinter
