#pragma once
// Symbols encoded by zint into modules, and modules blown up into printer dots.
#include <cstdint>
#include <string>
#include <vector>

#include "vprinter/device/PrinterState.h"
#include "vprinter/paper/Receipt.h"

namespace tallyx::vprinter {

enum class SymbolKind : uint8_t {
    UpcA, UpcE, Ean13, Ean8, Code39, Itf, Codabar, Code93, Code128, Qr, Pdf417, Pdf417Truncated,
    Gs1_128, DataBarOmni, DataBarTruncated, DataBarLimited, DataBarExpanded,
    DataBarStacked, DataBarStackedOmni, DataBarExpandedStacked, MaxiCode, Aztec, DataMatrix,
};

struct SymbolRequest {
    SymbolKind kind = SymbolKind::Code128;
    Bytes data;             // what zint encodes, already checked and normalised
    int eccLevel = -1;      // QR 1..4 (L, M, Q, H); PDF417 0..8; -1: zint's choice
    int columns = 0;        // PDF417 data columns; 0: zint's choice
    int rows = 0;           // PDF417 rows; 0: zint's choice
    bool gs1Checked = true; // GS1 data in brackets: its application identifiers checked by zint
    int mode = 0;           // MaxiCode mode 2..6; Aztec 1 compact; Data Matrix 1 rectangle
    int size = 0;           // Aztec layers, Data Matrix size, DataBar Expanded Stacked segments; 0: zint's choice
    Bytes primary = {};     // MaxiCode modes 2 and 3: postcode, country and service
};

// A symbol's modules, row by row (1 = dark); a linear barcode has one row.
struct SymbolModules {
    int width = 0;
    int rows = 0;
    std::vector<uint8_t> dark;   // rows * width
    std::vector<int> rowModules; // each row's height in modules, for symbols of rows unlike each other
    std::string text;            // the readable line zint makes (check digits included)
    bool Dark(int col, int row) const { return dark[size_t(row) * size_t(width) + size_t(col)] != 0; }
};

struct SymbolResult {
    SymbolModules modules;
    std::string error;   // "": encoded
};

SymbolResult EncodeSymbol(const SymbolRequest& request);

// Each module `moduleW` dots wide and each row `rowH` dots high, after `leftDots` white dots.
Picture ModulesToPicture(const SymbolModules& modules, int moduleW, int rowH, int leftDots = 0);
// Each row as high as zint makes it (rowModules), in modules `moduleW` dots square.
Picture RowsToPicture(const SymbolModules& modules, int moduleW);

// A two-width barcode (zint draws its wide elements 2 or 3 modules wide) with every narrow
// element `narrow` dots and every wide one `wide` dots, as one-dot modules.
SymbolModules TwoWidthElements(const SymbolModules& modules, int narrow, int wide);

// Symbols zint draws as a picture of its own (MaxiCode's hexagons and rings), in dots
// `widthDots` wide; an empty picture when it cannot.
Picture DrawnSymbol(const SymbolRequest& request, int widthDots, std::string* error);

} // namespace tallyx::vprinter
