#include "vprinter/SymbolEncoder.h"

#include <zint.h>

#include <memory>

namespace tallyx::vprinter {

namespace {

int ZintSymbology(SymbolKind kind)
{
    switch (kind) {
    case SymbolKind::UpcA: return BARCODE_UPCA;
    case SymbolKind::UpcE: return BARCODE_UPCE;
    case SymbolKind::Ean13:
    case SymbolKind::Ean8: return BARCODE_EANX;
    case SymbolKind::Code39: return BARCODE_CODE39;
    case SymbolKind::Itf: return BARCODE_C25INTER;
    case SymbolKind::Codabar: return BARCODE_CODABAR;
    case SymbolKind::Code93: return BARCODE_CODE93;
    case SymbolKind::Code128: return BARCODE_CODE128;
    case SymbolKind::Qr: return BARCODE_QRCODE;
    case SymbolKind::Pdf417: return BARCODE_PDF417;
    case SymbolKind::Pdf417Truncated: return BARCODE_PDF417COMP;
    }
    return BARCODE_CODE128;
}

struct ZintDeleter {
    void operator()(zint_symbol* s) const { ZBarcode_Delete(s); }
};

bool ModuleSet(const zint_symbol& s, int row, int col)
{
    return (s.encoded_data[row][col >> 3] >> (col & 7)) & 1;
}

} // namespace

SymbolResult EncodeSymbol(const SymbolRequest& request)
{
    SymbolResult result;
    std::unique_ptr<zint_symbol, ZintDeleter> symbol(ZBarcode_Create());
    if (!symbol) {
        result.error = "out of memory";
        return result;
    }
    zint_symbol& s = *symbol;
    s.symbology = ZintSymbology(request.kind);
    s.input_mode = DATA_MODE;
    if (request.kind == SymbolKind::Qr && request.eccLevel > 0) s.option_1 = request.eccLevel;
    if (request.kind == SymbolKind::Pdf417 || request.kind == SymbolKind::Pdf417Truncated) {
        s.option_1 = request.eccLevel;
        if (request.columns > 0) s.option_2 = request.columns;
        if (request.rows > 0) s.option_3 = request.rows;
    }
    const int status = ZBarcode_Encode(&s, request.data.data(), int(request.data.size()));
    if (status >= ZINT_ERROR) {
        result.error = s.errtxt;
        return result;
    }
    SymbolModules& m = result.modules;
    m.width = s.width;
    m.rows = s.rows;
    m.dark.assign(size_t(m.width) * size_t(m.rows), 0);
    for (int row = 0; row < m.rows; ++row)
        for (int col = 0; col < m.width; ++col) m.dark[size_t(row) * size_t(m.width) + size_t(col)] = ModuleSet(s, row, col);
    m.text = reinterpret_cast<const char*>(s.text);
    return result;
}

Picture ModulesToPicture(const SymbolModules& modules, int moduleW, int rowH, int leftDots)
{
    Picture pic;
    pic.width = leftDots + modules.width * moduleW;
    pic.height = modules.rows * rowH;
    pic.dots.assign(size_t(pic.width) * size_t(pic.height), 0);
    for (int y = 0; y < pic.height; ++y)
        for (int x = leftDots; x < pic.width; ++x)
            pic.dots[size_t(y) * size_t(pic.width) + size_t(x)] = modules.Dark((x - leftDots) / moduleW, y / rowH);
    return pic;
}

} // namespace tallyx::vprinter
