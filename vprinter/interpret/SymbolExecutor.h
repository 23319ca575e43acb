#pragma once
// Two-dimensional symbols, GS ( k: PDF417 (cn 30), QR Code (31), MaxiCode (32), stacked GS1
// DataBar (33), Aztec Code (35) and Data Matrix (36), each set up, stored and printed by its
// own functions.
#include <string>

#include "vprinter/interpret/Executor.h"
#include "vprinter/symbols/SymbolEncoder.h"

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

struct MaxiCodeSetup {
    int mode = 2;              // 2..6
    Bytes data;
};

// The stacked GS1 DataBar symbols (cn 33).
struct DataBarSetup {
    int moduleDots = 2;
    int maxWidth = 0;          // Expanded Stacked's widest, in dots; 0: the paper
    uint8_t type = 0;          // 72 Stacked, 73 Stacked Omnidirectional, 76 Expanded Stacked
    Bytes data;
};

struct AztecSetup {
    bool compact = false;
    int layers = 0;            // 0: as few as the data needs
    int moduleDots = 3;
    int eccPercent = 23;
    Bytes data;
};

struct DataMatrixSetup {
    bool rectangle = false;
    int columns = 0;           // 0 (both): as small as the data allows
    int rows = 0;
    int moduleDots = 3;
    Bytes data;
};

class SymbolExecutor : public Executor {
public:
    using Executor::Executor;
    std::string Execute(const Command& cmd);
    size_t HeldBytes() const
    {
        return m_qr.data.capacity() + m_pdf.data.capacity() + m_maxi.data.capacity() + m_dataBar.data.capacity() +
               m_aztec.data.capacity() + m_dataMatrix.data.capacity();
    }

private:
    std::string Qr(uint8_t fn, const Bytes& p);
    std::string Pdf417(uint8_t fn, const Bytes& p);
    std::string MaxiCode(uint8_t fn, const Bytes& p);
    std::string DataBar(uint8_t fn, const Bytes& p);
    std::string Aztec(uint8_t fn, const Bytes& p);
    std::string DataMatrix(uint8_t fn, const Bytes& p);
    std::string PrintQr();
    std::string PrintPdf417();
    std::string PrintMaxiCode();
    std::string PrintDataBar();
    std::string PrintAztec();
    std::string PrintDataMatrix();
    // The functions every symbol shares; the set-up functions are its own.
    static constexpr uint8_t kFnStore = 0x50, kFnPrint = 0x51;
    // Function 80: the data after the function's own bytes, kept for the print.
    static std::string Store(std::string_view symbol, Bytes& data, const Bytes& p, size_t from);
    // Draws the symbol centred as ESC a says, or says why it cannot be.
    std::string Place(const SymbolModules& modules, int moduleW, int rowH);
    std::string PlacePicture(Picture pic, const std::string& size);

    QrSetup m_qr;
    Pdf417Setup m_pdf;
    MaxiCodeSetup m_maxi;
    DataBarSetup m_dataBar;
    AztecSetup m_aztec;
    DataMatrixSetup m_dataMatrix;
};

} // namespace tallyx::vprinter
