// GS ( k symbols beyond QR and PDF417: MaxiCode, stacked GS1 DataBar, Aztec Code, Data Matrix.
#include "vprinter/interpret/SymbolExecutor.h"

#include "vprinter/symbols/BarcodeData.h"

#include <algorithm>

namespace tallyx::vprinter {

namespace {

// MaxiCode has one size: 28.14 mm wide at 203 dpi.
constexpr int kMaxiCodeDots = 225;
constexpr uint8_t kGs = 0x1D;

// MaxiCode modes 2 and 3 carry a postcode, country and service in their primary message:
// the data's first three fields (after the "[)>" RS "01" GS "yy" header when it has one).
// The header and what follows the fields are the secondary message.
bool SplitMaxiPrimary(const Bytes& data, Bytes& primary, Bytes& secondary)
{
    static constexpr std::string_view kHeader = "[)>\x1E" "01\x1D";
    size_t at = 0;
    secondary.clear();
    if (data.size() >= kHeader.size() + 2 && std::equal(kHeader.begin(), kHeader.end(), data.begin())) {
        at = kHeader.size() + 2;
        secondary.assign(data.begin(), data.begin() + long(at));
    }
    primary.clear();
    for (int field = 0; field < 3; ++field) {
        const auto end = std::find(data.begin() + long(at), data.end(), kGs);
        if (end == data.end()) return false;
        primary.insert(primary.end(), data.begin() + long(at), end);
        at = size_t(end - data.begin()) + 1;
    }
    secondary.insert(secondary.end(), data.begin() + long(at), data.end());
    return true;
}

} // namespace

std::string SymbolExecutor::MaxiCode(uint8_t fn, const Bytes& p)
{
    const int arg = p.size() > 2 ? p[2] : -1;
    switch (fn) {
    case 0x41:
        if (arg < '2' || arg > '6') return "MaxiCode mode: invalid, ignored";
        m_maxi.mode = arg - '0';
        return "MaxiCode mode " + std::to_string(m_maxi.mode);
    case kFnStore:
        return Store("MaxiCode", m_maxi.data, p, 3);
    case kFnPrint: return PrintMaxiCode();
    default: return "MaxiCode function " + std::to_string(fn) + " ignored";
    }
}

std::string SymbolExecutor::DataBar(uint8_t fn, const Bytes& p)
{
    const int arg = p.size() > 2 ? p[2] : -1;
    switch (fn) {
    case 0x43:
        if (arg < 2 || arg > 8) return "GS1 DataBar module width: invalid, ignored";
        m_dataBar.moduleDots = arg;
        return "GS1 DataBar module width " + std::to_string(arg);
    case 0x47: {
        const int width = p.size() > 3 ? p[2] | p[3] << 8 : -1;
        if (width != 0 && width < 106) return "GS1 DataBar Expanded Stacked width: invalid, ignored";
        m_dataBar.maxWidth = width;
        return "GS1 DataBar Expanded Stacked width " + (width ? std::to_string(width) + " dots" : "of the paper");
    }
    case kFnStore:
        m_dataBar.type = p.size() > 3 ? p[3] : 0;
        return Store("GS1 DataBar", m_dataBar.data, p, 4);
    case kFnPrint: return PrintDataBar();
    default: return "GS1 DataBar function " + std::to_string(fn) + " ignored";
    }
}

std::string SymbolExecutor::Aztec(uint8_t fn, const Bytes& p)
{
    const int arg = p.size() > 2 ? p[2] : -1;
    switch (fn) {
    case 0x30: {
        const int layers = p.size() > 3 ? p[3] : -1;
        if ((arg != 0 && arg != 1) || layers < 0 || layers > (arg ? 4 : 32)) return "Aztec Code mode: invalid, ignored";
        m_aztec.compact = arg == 1;
        m_aztec.layers = layers;
        return std::string(arg ? "Aztec Code compact" : "Aztec Code full range") + ", " +
               (layers ? std::to_string(layers) + " layers" : std::string("layers as needed"));
    }
    case 0x31:
        if (arg < 2 || arg > 16) return "Aztec Code module size: invalid, ignored";
        m_aztec.moduleDots = arg;
        return "Aztec Code module size " + std::to_string(arg);
    case 0x32:
        if (arg < 5 || arg > 95) return "Aztec Code error correction: invalid, ignored";
        m_aztec.eccPercent = arg;
        return "Aztec Code error correction " + std::to_string(arg) + "%";
    case kFnStore:
        return Store("Aztec Code", m_aztec.data, p, 3);
    case kFnPrint: return PrintAztec();
    default: return "Aztec Code function " + std::to_string(fn) + " ignored";
    }
}

std::string SymbolExecutor::DataMatrix(uint8_t fn, const Bytes& p)
{
    const int arg = p.size() > 2 ? p[2] : -1;
    switch (fn) {
    case 0x42: {
        const int columns = p.size() > 4 ? p[3] : -1, rows = p.size() > 4 ? p[4] : -1;
        if ((arg != 0 && arg != 1) || columns < 0 || rows < 0 || (columns == 0) != (rows == 0))
            return "Data Matrix type: invalid, ignored";
        m_dataMatrix.rectangle = arg == 1;
        m_dataMatrix.columns = columns;
        m_dataMatrix.rows = rows;
        return std::string(arg ? "Data Matrix rectangle" : "Data Matrix square") + ", " +
               (columns ? std::to_string(columns) + " x " + std::to_string(rows) : std::string("size as needed"));
    }
    case 0x43:
        if (arg < 2 || arg > 16) return "Data Matrix module size: invalid, ignored";
        m_dataMatrix.moduleDots = arg;
        return "Data Matrix module size " + std::to_string(arg);
    case kFnStore:
        return Store("Data Matrix", m_dataMatrix.data, p, 3);
    case kFnPrint: return PrintDataMatrix();
    default: return "Data Matrix function " + std::to_string(fn) + " ignored";
    }
}

std::string SymbolExecutor::PrintMaxiCode()
{
    if (m_maxi.data.empty()) return "MaxiCode print: no data stored";
    SymbolRequest request{SymbolKind::MaxiCode, m_maxi.data};
    request.mode = m_maxi.mode;
    if (m_maxi.mode <= 3 && !SplitMaxiPrimary(m_maxi.data, request.primary, request.data))
        return "MaxiCode print: mode " + std::to_string(m_maxi.mode) +
               " takes a postcode, country and service first, each ended by GS, not printed";
    std::string error;
    Picture pic = DrawnSymbol(request, kMaxiCodeDots, &error);
    if (pic.dots.empty()) return "MaxiCode print: " + error + ", not printed";
    const std::string size = std::to_string(pic.width) + " x " + std::to_string(pic.height) + " dots";
    return "MaxiCode print: " + PlacePicture(std::move(pic), size);
}

std::string SymbolExecutor::PrintDataBar()
{
    if (m_dataBar.data.empty()) return "GS1 DataBar print: no data stored";
    SymbolKind kind;
    switch (m_dataBar.type) {
    case 72: kind = SymbolKind::DataBarStacked; break;
    case 73: kind = SymbolKind::DataBarStackedOmni; break;
    case 76: kind = SymbolKind::DataBarExpandedStacked; break;
    default: return "GS1 DataBar print: type " + std::to_string(m_dataBar.type) + " not supported, not printed";
    }
    const BarcodeInput input = PrepareBarcodeData(kind, m_dataBar.data);
    if (!input.fault.empty()) return "GS1 DataBar print: " + input.fault + ", not printed";
    SymbolRequest request{kind, input.data};
    request.gs1Checked = input.gs1Checked;
    SymbolResult encoded = EncodeSymbol(request);
    // Expanded Stacked: as many columns of segments to a row as the width allows.
    const int widest = m_dataBar.maxWidth ? m_dataBar.maxWidth : m_ctx.layout.PaperDots();
    for (int columns = 11; kind == SymbolKind::DataBarExpandedStacked && columns >= 1; --columns) {
        request.size = columns;
        SymbolResult tried = EncodeSymbol(request);
        if (tried.error.empty() && tried.modules.width * m_dataBar.moduleDots <= widest) {
            encoded = std::move(tried);
            break;
        }
    }
    if (!encoded.error.empty()) return "GS1 DataBar print: " + encoded.error + ", not printed";
    Picture pic = RowsToPicture(encoded.modules, m_dataBar.moduleDots);
    const std::string size = std::to_string(encoded.modules.width) + " modules, " + std::to_string(pic.width) +
                             " x " + std::to_string(pic.height) + " dots";
    return "GS1 DataBar print: " + PlacePicture(std::move(pic), size);
}

std::string SymbolExecutor::PrintAztec()
{
    if (m_aztec.data.empty()) return "Aztec Code print: no data stored";
    SymbolRequest request{SymbolKind::Aztec, m_aztec.data};
    // zint's levels: 10, 23, 36 and 50 % of the symbol (and 3 words) for correction.
    const int percent = m_aztec.eccPercent;
    request.eccLevel = percent <= 10 ? 1 : percent <= 23 ? 2 : percent <= 36 ? 3 : 4;
    if (m_aztec.layers) request.size = m_aztec.compact ? m_aztec.layers : m_aztec.layers + 4;
    const SymbolResult encoded = EncodeSymbol(request);
    if (!encoded.error.empty()) return "Aztec Code print: " + encoded.error + ", not printed";
    return "Aztec Code print: " + Place(encoded.modules, m_aztec.moduleDots, m_aztec.moduleDots);
}

std::string SymbolExecutor::PrintDataMatrix()
{
    if (m_dataMatrix.data.empty()) return "Data Matrix print: no data stored";
    SymbolRequest request{SymbolKind::DataMatrix, m_dataMatrix.data};
    request.mode = m_dataMatrix.rectangle ? 1 : 0;
    SymbolResult encoded = EncodeSymbol(request);
    if (m_dataMatrix.columns) {
        // zint numbers the sizes; the one of these columns and rows is looked for.
        encoded.error = "no symbol of " + std::to_string(m_dataMatrix.columns) + " x " +
                        std::to_string(m_dataMatrix.rows) + " modules holds the data";
        for (request.size = 1; request.size <= 30; ++request.size) {
            SymbolResult tried = EncodeSymbol(request);
            if (tried.error.empty() && tried.modules.width == m_dataMatrix.columns &&
                tried.modules.rows == m_dataMatrix.rows) {
                encoded = std::move(tried);
                break;
            }
        }
    }
    if (!encoded.error.empty()) return "Data Matrix print: " + encoded.error + ", not printed";
    return "Data Matrix print: " + Place(encoded.modules, m_dataMatrix.moduleDots, m_dataMatrix.moduleDots);
}

} // namespace tallyx::vprinter
