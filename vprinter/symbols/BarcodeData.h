#pragma once
// What each GS k symbology accepts, checked before anything is drawn, and the data turned
// into what the encoder takes (check digits split off, Code 128 code-set codes read).
#include <string>
#include <string_view>

#include "vprinter/symbols/SymbolEncoder.h"

namespace tallyx::vprinter {

struct BarcodeSymbology {
    uint8_t formA;          // GS k m d1...dk 00
    uint8_t formB;          // GS k m n d1...dn
    std::string_view name;
    SymbolKind kind;
};

// The symbology of GS k m, either form; null for an unknown m.
const BarcodeSymbology* FindBarcodeSymbology(uint8_t m);

struct BarcodeInput {
    Bytes data;          // for the encoder
    std::string fault;   // why it cannot be printed ("" when it can)
    std::string note;    // what was changed on the way, for the log
    bool gs1Checked = true;   // GS1 data whose application identifiers zint can check
};

BarcodeInput PrepareBarcodeData(SymbolKind kind, const Bytes& data);

// The EAN/UPC check digit of `digits` (all '0'..'9', check digit left out).
char GtinCheckDigit(std::string_view digits);

} // namespace tallyx::vprinter
