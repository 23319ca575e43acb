#pragma once
// Barcodes (GS k with its set-up GS H, f, h, w, x) and two-dimensional symbols (GS ( k).
#include "vprinter/PrintContext.h"

namespace tallyx::vprinter {

class SymbolExecutor {
public:
    explicit SymbolExecutor(PrintContext& ctx) : m_ctx(ctx) {}

    std::string Execute(const Command& cmd);
    // ESC @ restores the barcode set-up.
    void Reset();
    size_t HeldBytes() const { return m_qrData.capacity() + m_pdfData.capacity(); }

private:
    std::string Function(const Bytes& payload);

    PrintContext& m_ctx;
    uint8_t m_hriPosition = 0, m_hriFont = 0, m_barHeight = 162, m_barWidth = 3, m_barMargin = 0;
    uint8_t m_qrModule = 3, m_qrEcc = 0x30;
    Bytes m_qrData, m_pdfData;
    uint8_t m_pdfColumns = 0, m_pdfRows = 0, m_pdfWidth = 3, m_pdfRowHeight = 3;
};

} // namespace tallyx::vprinter
