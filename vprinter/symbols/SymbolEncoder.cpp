#include "vprinter/symbols/SymbolEncoder.h"

#include <zint.h>

#include <algorithm>
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
    case SymbolKind::Gs1_128: return BARCODE_GS1_128;
    case SymbolKind::DataBarOmni:
    case SymbolKind::DataBarTruncated: return BARCODE_DBAR_OMN;   // the same bars, less high
    case SymbolKind::DataBarLimited: return BARCODE_DBAR_LTD;
    case SymbolKind::DataBarExpanded: return BARCODE_DBAR_EXP;
    case SymbolKind::DataBarStacked: return BARCODE_DBAR_STK;
    case SymbolKind::DataBarStackedOmni: return BARCODE_DBAR_OMNSTK;
    case SymbolKind::DataBarExpandedStacked: return BARCODE_DBAR_EXPSTK;
    case SymbolKind::MaxiCode: return BARCODE_MAXICODE;
    case SymbolKind::Aztec: return BARCODE_AZTEC;
    case SymbolKind::DataMatrix: return BARCODE_DATAMATRIX;
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

bool Gs1Data(SymbolKind kind)
{
    return kind == SymbolKind::Gs1_128 || kind == SymbolKind::DataBarExpanded ||
           kind == SymbolKind::DataBarExpandedStacked;
}

using Symbol = std::unique_ptr<zint_symbol, ZintDeleter>;

// zint's symbol set up for the request and encoded; its error text in `error` when it fails.
Symbol Encoded(const SymbolRequest& request, std::string& error)
{
    Symbol symbol(ZBarcode_Create());
    if (!symbol) {
        error = "out of memory";
        return symbol;
    }
    zint_symbol& s = *symbol;
    s.symbology = ZintSymbology(request.kind);
    s.input_mode = DATA_MODE;
    if (Gs1Data(request.kind)) s.input_mode = GS1_MODE | (request.gs1Checked ? 0 : GS1NOCHECK_MODE);
    switch (request.kind) {
    case SymbolKind::Qr:
        if (request.eccLevel > 0) s.option_1 = request.eccLevel;
        break;
    case SymbolKind::Pdf417:
    case SymbolKind::Pdf417Truncated:
        s.option_1 = request.eccLevel;
        if (request.columns > 0) s.option_2 = request.columns;
        if (request.rows > 0) s.option_3 = request.rows;
        break;
    case SymbolKind::MaxiCode: {
        s.option_1 = request.mode;
        const size_t n = std::min(request.primary.size(), sizeof s.primary - 1);
        std::copy_n(request.primary.begin(), n, s.primary);
        s.primary[n] = 0;
        break;
    }
    case SymbolKind::Aztec:
        if (request.eccLevel > 0) s.option_1 = request.eccLevel;
        s.option_2 = request.size;
        break;
    case SymbolKind::DataMatrix:
        s.option_2 = request.size;
        if (request.mode == 0) s.option_3 = DM_SQUARE;
        break;
    case SymbolKind::DataBarExpandedStacked: s.option_2 = request.size; break;
    default: break;
    }
    // zint takes a length of 0 for "up to the NUL" and reads past the data.
    if (request.data.empty()) {
        error = request.kind == SymbolKind::MaxiCode && !request.primary.empty()
                    ? "no secondary message after the postcode, country and service"
                    : "no data";
        symbol.reset();
        return symbol;
    }
    const int status = ZBarcode_Encode(&s, request.data.data(), int(request.data.size()));
    if (status >= ZINT_ERROR) {
        error = s.errtxt;
        symbol.reset();
    }
    return symbol;
}

} // namespace

SymbolResult EncodeSymbol(const SymbolRequest& request)
{
    SymbolResult result;
    const Symbol symbol = Encoded(request, result.error);
    if (!symbol) return result;
    const zint_symbol& s = *symbol;
    SymbolModules& m = result.modules;
    m.width = s.width;
    m.rows = s.rows;
    m.dark.assign(size_t(m.width) * size_t(m.rows), 0);
    // Rows zint leaves at 0 share what the fixed ones leave of the symbol's height.
    float fixed = 0;
    int shared = 0;
    for (int row = 0; row < m.rows; ++row) {
        fixed += s.row_height[row];
        shared += s.row_height[row] <= 0 ? 1 : 0;
    }
    const float share = shared ? (s.height - fixed) / float(shared) : 0;
    for (int row = 0; row < m.rows; ++row) {
        for (int col = 0; col < m.width; ++col) m.dark[size_t(row) * size_t(m.width) + size_t(col)] = ModuleSet(s, row, col);
        const float h = s.row_height[row] > 0 ? s.row_height[row] : share;
        m.rowModules.push_back(std::max(1, int(h + 0.5f)));
    }
    m.text = reinterpret_cast<const char*>(s.text);
    return result;
}

SymbolModules TwoWidthElements(const SymbolModules& modules, int narrow, int wide)
{
    SymbolModules out;
    out.rows = 1;
    out.text = modules.text;
    for (int col = 0; col < modules.width;) {
        int run = 1;
        while (col + run < modules.width && modules.Dark(col + run, 0) == modules.Dark(col, 0)) ++run;
        out.dark.insert(out.dark.end(), size_t(run == 1 ? narrow : wide), modules.Dark(col, 0) ? 1 : 0);
        col += run;
    }
    out.width = int(out.dark.size());
    out.rowModules = {1};
    return out;
}

Picture DrawnSymbol(const SymbolRequest& request, int widthDots, std::string* error)
{
    Picture pic;
    std::string fault;
    const Symbol symbol = Encoded(request, fault);
    if (symbol) {
        zint_symbol& s = *symbol;
        s.scale = 2.0f;   // hexagons of several pixels, then blown up or down to the dots asked
        if (ZBarcode_Buffer(&s, 0) >= ZINT_ERROR) fault = s.errtxt;
    }
    if (!fault.empty() || !symbol || symbol->bitmap_width <= 0 || widthDots <= 0) {
        if (error) *error = fault.empty() ? "cannot be drawn" : fault;
        return pic;
    }
    const zint_symbol& s = *symbol;
    pic.width = widthDots;
    pic.height = std::max(1, int(int64_t(s.bitmap_height) * widthDots / s.bitmap_width));
    pic.dots.assign(size_t(pic.width) * size_t(pic.height), 0);
    for (int y = 0; y < pic.height; ++y) {
        const int sy = int(int64_t(y) * s.bitmap_height / pic.height);
        for (int x = 0; x < pic.width; ++x) {
            const int sx = int(int64_t(x) * s.bitmap_width / pic.width);
            const unsigned char* rgb = s.bitmap + (size_t(sy) * size_t(s.bitmap_width) + size_t(sx)) * 3;
            pic.dots[size_t(y) * size_t(pic.width) + size_t(x)] = (rgb[0] + rgb[1] + rgb[2]) < 3 * 128;
        }
    }
    return pic;
}

Picture ModulesToPicture(const SymbolModules& modules, int moduleW, int rowH, int leftDots)
{
    Picture pic;
    pic.width = leftDots + modules.width * moduleW;
    pic.height = modules.rows * rowH;
    pic.dots.assign(size_t(pic.width) * size_t(pic.height), 0);
    // Each module row is made once and copied down its rows: a receipt of barcodes spent most
    // of its drawing here, a dot at a time.
    const size_t w = size_t(pic.width);
    for (int row = 0; row < modules.rows; ++row) {
        uint8_t* first = pic.dots.data() + size_t(row) * size_t(rowH) * w;
        for (int col = 0; col < modules.width; ++col)
            if (modules.Dark(col, row)) std::fill_n(first + leftDots + col * moduleW, moduleW, uint8_t(1));
        for (int y = 1; y < rowH; ++y) std::copy_n(first, w, first + size_t(y) * w);
    }
    return pic;
}

Picture RowsToPicture(const SymbolModules& modules, int moduleW)
{
    Picture pic;
    pic.width = modules.width * moduleW;
    for (int row = 0; row < modules.rows; ++row) {
        const int h = modules.rowModules[size_t(row)] * moduleW;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < pic.width; ++x) pic.dots.push_back(modules.Dark(x / moduleW, row));
        pic.height += h;
    }
    return pic;
}

} // namespace tallyx::vprinter
