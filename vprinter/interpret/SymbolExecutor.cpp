// GS ( k: QR Code and PDF417, as this tool sends them, and the dispatch to every symbol.
#include "vprinter/interpret/SymbolExecutor.h"

#include <algorithm>

namespace tallyx::vprinter {

namespace {

enum Symbol : uint8_t { kPdf417 = 0x30, kQr = 0x31, kMaxiCode = 0x32, kDataBar = 0x33, kAztec = 0x35, kDataMatrix = 0x36 };
// PDF417 modules outside the data columns: start, stop and the two row indicators
// (truncated: start, left indicator and a one-module stop).
constexpr int kPdfFrameModules = 69;
constexpr int kPdfTruncatedFrameModules = 35;
constexpr int kPdfColumnModules = 17;

// A value sent either as a number (0..largest) or as its digit ('0'..).
int NumberOrDigit(uint8_t n, int largest)
{
    const int v = n >= '0' ? n - '0' : n;
    return v >= 0 && v <= largest ? v : -1;
}

// PDF417 level whose correction words make up `ratio` tenths of the data words, at least 1.
int LevelForRatio(size_t dataBytes, int ratio)
{
    const size_t dataWords = (dataBytes * 6 + 4) / 5 + 2;   // byte compaction, with its mode word
    const size_t wanted = (dataWords * size_t(ratio) + 9) / 10;
    int level = 1;
    while (level < 8 && (size_t(2) << level) < wanted) ++level;
    return level;
}

} // namespace

std::string SymbolExecutor::Store(std::string_view symbol, Bytes& data, const Bytes& p, size_t from)
{
    data.assign(p.begin() + long(std::min(from, p.size())), p.end());
    return std::string(symbol) + " store " + std::to_string(data.size()) + " bytes";
}

std::string SymbolExecutor::Execute(const Command& cmd)
{
    const uint8_t n = cmd.Arg();
    const Bytes& p = cmd.payload;
    if (n != 0x6B) return "function " + std::to_string(n) + " not supported, ignored";
    if (!cmd.kept) return "too long, ignored";
    if (p.size() < 2) return "too short, ignored";
    if (p[0] == kQr) return Qr(p[1], p);
    if (p[0] == kPdf417) return Pdf417(p[1], p);
    if (p[0] == kMaxiCode) return MaxiCode(p[1], p);
    if (p[0] == kDataBar) return DataBar(p[1], p);
    if (p[0] == kAztec) return Aztec(p[1], p);
    if (p[0] == kDataMatrix) return DataMatrix(p[1], p);
    return "symbol type " + std::to_string(p[0]) + " not supported, ignored";
}

std::string SymbolExecutor::Qr(uint8_t fn, const Bytes& p)
{
    const int arg = p.size() > 2 ? p[2] : -1;
    switch (fn) {
    case 0x41: {   // model: 49 model 1, 50 model 2, 51 micro
        const int model = arg - '0';
        if (model < 1 || model > 3) return "QR model: invalid, ignored";
        return model == 2 ? "QR model 2" : "QR model " + std::to_string(model) + " (printed as model 2)";
    }
    case 0x43:
        if (arg < 1 || arg > 16) return "QR module size: invalid, ignored";
        m_qr.moduleDots = uint8_t(arg);
        return "QR module size " + std::to_string(arg);
    case 0x45: {
        const int level = arg < 0 ? -1 : NumberOrDigit(uint8_t(arg), 3);
        if (level < 0) return "QR error correction: invalid, ignored";
        m_qr.eccLevel = level + 1;
        return std::string("QR error correction ") + "LMQH"[level];
    }
    case kFnStore:
        return Store("QR", m_qr.data, p, 3);
    case kFnPrint: return PrintQr();
    default: return "QR function " + std::to_string(fn) + " ignored";
    }
}

std::string SymbolExecutor::Pdf417(uint8_t fn, const Bytes& p)
{
    const int arg = p.size() > 2 ? p[2] : -1;
    const std::string invalid = ": invalid value, ignored";
    switch (fn) {
    case 0x41:
        if (arg < 0 || arg > 30) return "PDF417 columns" + invalid;
        m_pdf.columns = arg;
        return "PDF417 columns " + (arg ? std::to_string(arg) : std::string("automatic"));
    case 0x42:
        if (arg < 0 || (arg > 0 && arg < 3) || arg > 90) return "PDF417 rows" + invalid;
        m_pdf.rows = arg;
        return "PDF417 rows " + (arg ? std::to_string(arg) : std::string("automatic"));
    case 0x43:
        if (arg < 2 || arg > 8) return "PDF417 module width" + invalid;
        m_pdf.moduleDots = arg;
        return "PDF417 module width " + std::to_string(arg);
    case 0x44:
        if (arg < 2 || arg > 16) return "PDF417 row height" + invalid;
        m_pdf.rowHeight = arg;
        return "PDF417 row height " + std::to_string(arg);
    case 0x45: {
        const int value = p.size() > 3 ? p[3] : -1;
        if (arg == '0' && value >= 0 && NumberOrDigit(uint8_t(value), 8) >= 0) {
            m_pdf.eccLevel = NumberOrDigit(uint8_t(value), 8);
            m_pdf.eccRatio = 0;
            return "PDF417 error correction level " + std::to_string(m_pdf.eccLevel);
        }
        if (arg == '1' && value >= 1 && value <= 40) {
            m_pdf.eccRatio = value;
            return "PDF417 error correction ratio " + std::to_string(value * 10) + "%";
        }
        return "PDF417 error correction" + invalid;
    }
    case 0x46:
        if (arg != 0 && arg != 1) return "PDF417 options" + invalid;
        m_pdf.truncated = arg == 1;
        return arg ? "PDF417 truncated" : "PDF417 standard";
    case kFnStore:
        return Store("PDF417", m_pdf.data, p, 3);
    case kFnPrint: return PrintPdf417();
    default: return "PDF417 function " + std::to_string(fn) + " ignored";
    }
}

std::string SymbolExecutor::PrintQr()
{
    if (m_qr.data.empty()) return "QR print: no data stored";
    SymbolRequest request{SymbolKind::Qr, m_qr.data};
    request.eccLevel = m_qr.eccLevel;
    const SymbolResult encoded = EncodeSymbol(request);
    if (!encoded.error.empty()) return "QR print: " + encoded.error + ", not printed";
    return "QR print: " + Place(encoded.modules, m_qr.moduleDots, m_qr.moduleDots);
}

std::string SymbolExecutor::PrintPdf417()
{
    if (m_pdf.data.empty()) return "PDF417 print: no data stored";
    SymbolRequest request{m_pdf.truncated ? SymbolKind::Pdf417Truncated : SymbolKind::Pdf417, m_pdf.data};
    request.eccLevel = m_pdf.eccRatio ? LevelForRatio(m_pdf.data.size(), m_pdf.eccRatio) : m_pdf.eccLevel;
    request.columns = m_pdf.columns;
    request.rows = m_pdf.rows;
    SymbolResult encoded = EncodeSymbol(request);
    const int frame = m_pdf.truncated ? kPdfTruncatedFrameModules : kPdfFrameModules;
    const int fitting = (m_ctx.layout.PaperDots() / m_pdf.moduleDots - frame) / kPdfColumnModules;
    // Left to choose its columns, the printer keeps the symbol within the paper.
    if (encoded.error.empty() && m_pdf.columns == 0 && encoded.modules.width * m_pdf.moduleDots >
                                                           m_ctx.layout.PaperDots() && fitting >= 1) {
        request.columns = fitting;
        encoded = EncodeSymbol(request);
    }
    if (!encoded.error.empty()) return "PDF417 print: " + encoded.error + ", not printed";
    return "PDF417 print: " + Place(encoded.modules, m_pdf.moduleDots, m_pdf.rowHeight * m_pdf.moduleDots);
}

std::string SymbolExecutor::Place(const SymbolModules& modules, int moduleW, int rowH)
{
    const int width = modules.width * moduleW;
    const int height = modules.rows * rowH;
    const int paper = m_ctx.layout.PaperDots();
    if (width > paper)
        return std::to_string(width) + " dots wide, wider than the paper (" + std::to_string(paper) +
               "), not printed";
    if (height > kMaxBlockDots) return std::to_string(height) + " dots high, too long, not printed";
    return PlacePicture(ModulesToPicture(modules, moduleW, rowH),
                        std::to_string(modules.width) + " x " + std::to_string(modules.rows) + " modules, " +
                            std::to_string(width) + " x " + std::to_string(height) + " dots");
}

std::string SymbolExecutor::PlacePicture(Picture pic, const std::string& size)
{
    const int paper = m_ctx.layout.PaperDots();
    if (pic.width > paper)
        return std::to_string(pic.width) + " dots wide, wider than the paper (" + std::to_string(paper) +
               "), not printed";
    if (pic.height > kMaxBlockDots) return std::to_string(pic.height) + " dots high, too long, not printed";
    pic.x = m_ctx.layout.AlignedX(pic.width, m_ctx.style.align);
    m_ctx.layout.Place(std::move(pic));
    return size;
}

} // namespace tallyx::vprinter
