#pragma once
// Two-dimensional symbols, GS ( k: QR Code (cn 31) and PDF417 (cn 30), each set up, stored
// and printed by its own functions.
#include "vprinter/PrintContext.h"
#include "vprinter/SymbolEncoder.h"

namespace tallyx::vprinter {

struct QrSetup {
    uint8_t moduleDots = 3;
    int eccLevel = 1;          // 1 L, 2 M, 3 Q, 4 H
    Bytes data;
};

struct Pdf417Setup {
    int columns = 0;           // 0: automatic
    int rows = 0;              // 0: automatic
    int moduleDots = 3;
    int rowHeight = 3;         // in module widths
    bool truncated = false;
    int eccLevel = 1;          // 0..8
    int eccRatio = 0;          // 1..40 tenths of the data; 0: the level holds
    Bytes data;
};

class SymbolExecutor {
public:
    explicit SymbolExecutor(PrintContext& ctx) : m_ctx(ctx) {}

    std::string Execute(const Command& cmd);
    size_t HeldBytes() const { return m_qr.data.capacity() + m_pdf.data.capacity(); }

private:
    std::string Qr(uint8_t fn, const Bytes& p);
    std::string Pdf417(uint8_t fn, const Bytes& p);
    std::string PrintQr();
    std::string PrintPdf417();
    // Draws the symbol centred as ESC a says, or says why it cannot be.
    std::string Place(const SymbolModules& modules, int moduleW, int rowH);

    PrintContext& m_ctx;
    QrSetup m_qr;
    Pdf417Setup m_pdf;
};

} // namespace tallyx::vprinter
