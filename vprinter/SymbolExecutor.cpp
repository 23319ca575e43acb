// Barcodes (GS k), QR codes and PDF417 (GS ( k): parsed whole, shown as a captioned frame.
// FIXME: draw the real symbols (zint) instead of frames of an estimated size.
#include <algorithm>

#include "vprinter/SymbolExecutor.h"

namespace tallyx::vprinter {

namespace {

struct Symbology {
    uint8_t formA;       // GS k m with a 00 terminator
    uint8_t formB;       // GS k m n
    const char* name;
    int fixedModules;    // modules of a fixed-length symbol; 0: grows with the data
};

constexpr Symbology kSymbologies[] = {
    {0, 65, "UPC-A", 95},    {1, 66, "UPC-E", 51},  {2, 67, "EAN13", 95}, {3, 68, "EAN8", 67},
    {4, 69, "CODE39", 0},    {5, 70, "ITF", 0},     {6, 71, "CODABAR", 0}, {0xFF, 72, "CODE93", 0},
    {0xFF, 73, "CODE128", 0},
};

constexpr int kHriHeight = 24;
constexpr int kQrQuietModules = 4;
constexpr size_t kLabelBytes = 40;

const Symbology* FindSymbology(uint8_t m)
{
    for (const auto& s : kSymbologies)
        if (s.formA == m || s.formB == m) return &s;
    return nullptr;
}

// Printable ASCII of the data for the caption; other bytes as dots.
std::string Caption(const std::string& kind, const Bytes& data)
{
    std::string text = kind + " ";
    for (size_t i = 0; i < data.size() && i < kLabelBytes; ++i)
        text += (data[i] >= 0x20 && data[i] < 0x7F) ? char(data[i]) : '.';
    if (data.size() > kLabelBytes) text += "...";
    return text;
}

// QR version that holds n bytes at level M, roughly (byte mode).
int QrSide(size_t n)
{
    static constexpr int kCapacityM[] = {14, 26, 42, 62, 84, 106, 122, 152, 180, 213,
                                         251, 287, 331, 362, 412, 450, 504, 560, 624, 666};
    int version = 1;
    while (version <= 20 && n > size_t(kCapacityM[version - 1])) ++version;
    if (version > 20) version = std::min(40, 20 + int((n - 666) / 60) + 1);
    return 17 + 4 * version;
}

} // namespace

void SymbolExecutor::Reset()
{
    m_hriPosition = 0;
    m_hriFont = 0;
    m_barHeight = 162;
    m_barWidth = 3;
    m_barMargin = 0;
}

std::string SymbolExecutor::Execute(const Command& cmd)
{
    const Bytes& payload = cmd.payload;
    const uint8_t n = cmd.Arg();
    switch (cmd.def.op) {
    case Op::HriPosition: m_hriPosition = n & 0x03; return std::to_string(m_hriPosition);
    case Op::HriFont: m_hriFont = n; return std::to_string(n);
    case Op::BarHeight:
        if (n == 0) return "invalid value, ignored";
        m_barHeight = n;
        return std::to_string(n) + " dots";
    case Op::BarWidth:
        if (n < 1 || n > 8) return "invalid value, ignored";
        m_barWidth = n;
        return std::to_string(n);
    case Op::BarMargin: m_barMargin = n; return std::to_string(n);
    case Op::Barcode: {
        const Symbology* s = FindSymbology(n);
        if (!s) return "unknown symbology " + std::to_string(n) + ", ignored";
        if (!cmd.kept) return "no terminator within 255 bytes, ignored";
        if (payload.empty()) return "no data, ignored";
        const int modules = s->fixedModules ? s->fixedModules : 11 * int(payload.size()) + 35;
        SymbolBox box;
        box.width = std::min(modules * m_barWidth, m_ctx.layout.PaperDots());
        const int hri = (m_hriPosition == 3 ? 2 : m_hriPosition ? 1 : 0) * kHriHeight;
        box.height = m_barHeight + hri;
        box.label = Caption(s->name, payload);
        std::string detail = box.label;
        m_ctx.layout.AddSymbol(std::move(box), m_ctx.style.align);
        return detail;
    }
    case Op::Symbol:
        if (n != 0x6B) return "function " + std::to_string(n) + " not supported, ignored";
        if (payload.size() < 2) return "too short, ignored";
        return Function(payload);
    default: return "";
    }
}

// GS ( k: payload is cn fn and the parameters.
std::string SymbolExecutor::Function(const Bytes& p)
{
    const uint8_t cn = p[0], fn = p[1];
    const uint8_t arg = p.size() > 2 ? p[2] : 0;
    if (cn == 0x31) {   // QR code
        switch (fn) {
        case 0x43:
            if (arg < 1 || arg > 16) return "QR module size: invalid, ignored";
            m_qrModule = arg;
            return "QR module size " + std::to_string(arg);
        case 0x45: m_qrEcc = arg; return "QR error correction " + std::to_string(arg);
        case 0x50:
            m_qrData.assign(p.begin() + std::min<size_t>(3, p.size()), p.end());
            return "QR store " + std::to_string(m_qrData.size()) + " bytes";
        case 0x51: {
            if (m_qrData.empty()) return "QR print: no data stored";
            SymbolBox box;
            box.width = box.height = (QrSide(m_qrData.size()) + 2 * kQrQuietModules) * m_qrModule;
            box.label = Caption("QR", m_qrData);
            m_ctx.layout.AddSymbol(std::move(box), m_ctx.style.align);
            return "QR print";
        }
        default: return "QR function " + std::to_string(fn) + " ignored";
        }
    }
    if (cn == 0x30) {   // PDF417
        switch (fn) {
        case 0x41: m_pdfColumns = arg; return "PDF417 columns " + std::to_string(arg);
        case 0x42: m_pdfRows = arg; return "PDF417 rows " + std::to_string(arg);
        case 0x43: m_pdfWidth = std::clamp<uint8_t>(arg, 1, 8); return "PDF417 module width " + std::to_string(arg);
        case 0x44: m_pdfRowHeight = std::clamp<uint8_t>(arg, 1, 16); return "PDF417 row height " + std::to_string(arg);
        case 0x45: return "PDF417 error correction";
        case 0x46: return "PDF417 options " + std::to_string(arg);
        case 0x50:
            m_pdfData.assign(p.begin() + std::min<size_t>(3, p.size()), p.end());
            return "PDF417 store " + std::to_string(m_pdfData.size()) + " bytes";
        case 0x51: {
            if (m_pdfData.empty()) return "PDF417 print: no data stored";
            // Columns of 17 modules plus start and stop patterns; rows of three modules' height.
            const int columns = m_pdfColumns ? m_pdfColumns : std::clamp(int(m_pdfData.size() / 10) + 1, 1, 30);
            const int rows = m_pdfRows ? m_pdfRows
                                       : std::clamp(int(m_pdfData.size() + 10) / columns + 3, 3, 90);
            SymbolBox box;
            box.width = std::min((17 * columns + 69) * m_pdfWidth, m_ctx.layout.PaperDots());
            box.height = rows * m_pdfRowHeight * m_pdfWidth;
            box.label = Caption("PDF417", m_pdfData);
            m_ctx.layout.AddSymbol(std::move(box), m_ctx.style.align);
            return "PDF417 print";
        }
        default: return "PDF417 function " + std::to_string(fn) + " ignored";
        }
    }
    return "symbol type " + std::to_string(cn) + " not supported, ignored";
}

} // namespace tallyx::vprinter
