#include "vprinter/interpret/ImageExecutor.h"

#include <algorithm>

namespace tallyx::vprinter {

namespace {

// Room for graphics waiting to be printed, as the printer answers it.
constexpr uint64_t kMaxGraphicsBytes = 1024 * 1024;

// GS / and FS p size byte: 0..3 or '0'..'3' -> {width factor, height factor}; false if neither.
bool SizeMode(uint8_t m, int& w, int& h)
{
    int mode = m >= '0' ? m - '0' : m;
    if (mode < 0 || mode > 3) return false;
    w = (mode & 1) ? 2 : 1;
    h = (mode & 2) ? 2 : 1;
    return true;
}

std::string SizeText(int w, int h)
{
    static constexpr const char* kNames[] = {"normal", "double width", "double height", "double width and height"};
    return kNames[(w == 2 ? 1 : 0) + (h == 2 ? 2 : 0)];
}

// GS ( L functions, each also sent as its number less 48 where the references allow it.
enum GraphicsFunction : uint8_t {
    kFnNvCapacity = 48, kFnDotDensity = 49, kFnPrintBuffered = 50, kFnBufferRoom = 51,
    kFnStoreRaster = 112, kFnStoreColumns = 113,
};
constexpr uint8_t kGraphicsReplyHeader = 0x37;
constexpr size_t kGraphicsHeader = 10;   // m fn a bx by c xL xH yL yH

Bytes NumberReply(uint8_t identifier, uint64_t value)
{
    Bytes reply{kGraphicsReplyHeader, identifier};
    for (char c : std::to_string(value)) reply.push_back(uint8_t(c));
    reply.push_back(0x00);
    return reply;
}

} // namespace

void ImageExecutor::PrintColumnImage(const ColumnImage& image, int scaleW, int scaleH)
{
    Picture pic;
    pic.width = std::min(image.widthDots * scaleW, m_ctx.layout.PaperDots());
    pic.height = std::min(image.heightDots * scaleH, kMaxBlockDots);
    pic.dots.assign(size_t(pic.width) * size_t(pic.height), 0);
    for (int row = 0; row < pic.height; ++row)
        for (int col = 0; col < pic.width; ++col)
            pic.dots[size_t(row) * size_t(pic.width) + size_t(col)] = image.Dot(col / scaleW, row / scaleH);
    m_ctx.layout.AddPicture(std::move(pic), m_ctx.style.align);
}

std::string ImageExecutor::Execute(const Command& cmd)
{
    const Bytes& h = cmd.header;
    int w = 1, hgt = 1;
    switch (cmd.def.op) {
    case Op::DefineImage:
        if (h[2] == 0 || h[3] == 0) return "empty image, ignored";
        m_downloaded = ColumnImage{8 * h[2], 8 * h[3], cmd.payload};
        return std::to_string(8 * h[2]) + " x " + std::to_string(8 * h[3]) + " dots";
    case Op::PrintImage:
        if (!SizeMode(h[2], w, hgt)) return "invalid size, ignored";
        if (!m_downloaded) return "no image defined";
        PrintColumnImage(*m_downloaded, w, hgt);
        return SizeText(w, hgt);
    case Op::StoreLogo: return StoreLogo(h, cmd.payload, cmd.kept);
    case Op::PrintLogo: return PrintLogo(h);
    case Op::EscBitImage: return Band(h, cmd.payload);
    case Op::Raster: return Raster(h, cmd.payload, cmd.kept);
    case Op::Graphics: return Graphics(cmd.payload, cmd.kept);
    default: return "";
    }
}

std::string ImageExecutor::StoreLogo(const Bytes& h, const Bytes& payload, bool kept)
{
    const int slot = h[2];
    const int x = h[3] | h[4] << 8, y = h[5] | h[6] << 8;
    if (slot < 1 || slot > kLogoSlots) return "no slot " + std::to_string(slot) + ", ignored";
    if (!kept) return "too large for the NV memory, not stored";
    if (x == 0 || y == 0) return "empty logo, ignored";
    m_ctx.state.logos[slot - 1] = ColumnImage{8 * x, 8 * y, payload};
    m_ctx.ChangeState();
    return "slot " + std::to_string(slot) + ", " + std::to_string(8 * x) + " x " + std::to_string(8 * y) + " dots";
}

std::string ImageExecutor::PrintLogo(const Bytes& h)
{
    int w = 1, hgt = 1;
    const int slot = h[2];
    if (slot < 1 || slot > kLogoSlots) return "no slot " + std::to_string(slot) + ", ignored";
    if (!SizeMode(h[3], w, hgt)) return "invalid size, ignored";
    const auto& logo = m_ctx.state.logos[slot - 1];
    if (!logo) return "slot " + std::to_string(slot) + " is empty";
    PrintColumnImage(*logo, w, hgt);
    return "slot " + std::to_string(slot) + ", " + SizeText(w, hgt);
}

std::string ImageExecutor::Band(const Bytes& h, const Bytes& payload)
{
    // Single density doubles each column; the 8-dot modes are three times as tall.
    const uint8_t m = h[2];
    if (m != 0 && m != 1 && m != 32 && m != 33) return "invalid mode, ignored";
    const int columns = h[3] | h[4] << 8;
    const int bytesPerColumn = m >= 32 ? 3 : 1;
    if (columns == 0) return "empty band, ignored";
    const ColumnImage band{columns, bytesPerColumn * 8, payload};
    Picture pic;
    const int sw = (m == 0 || m == 32) ? 2 : 1, sh = m < 32 ? 3 : 1;
    pic.width = std::min(columns * sw, m_ctx.layout.PaperDots());
    pic.height = band.heightDots * sh;
    pic.dots.assign(size_t(pic.width) * size_t(pic.height), 0);
    for (int row = 0; row < pic.height; ++row)
        for (int col = 0; col < pic.width; ++col)
            pic.dots[size_t(row) * size_t(pic.width) + size_t(col)] = band.Dot(col / sw, row / sh);
    m_ctx.layout.AddPicture(std::move(pic), m_ctx.style.align);
    m_ctx.bandLine = true;
    return std::to_string(columns) + " columns";
}

std::string ImageExecutor::Raster(const Bytes& h, const Bytes& payload, bool kept)
{
    int w = 1, hgt = 1;
    if (!SizeMode(h[3], w, hgt)) return "invalid size, ignored";
    const int x = h[4] | h[5] << 8, y = h[6] | h[7] << 8;
    if (!kept) return "too large, not printed";
    if (x == 0 || y == 0) return "empty image, ignored";
    Picture pic;
    pic.width = std::min(8 * x * w, m_ctx.layout.PaperDots());
    pic.height = std::min(y * hgt, kMaxBlockDots);
    pic.dots.assign(size_t(pic.width) * size_t(pic.height), 0);
    for (int row = 0; row < pic.height; ++row)
        for (int col = 0; col < pic.width; ++col) {
            const size_t index = size_t(row / hgt) * size_t(x) + size_t(col / w / 8);
            pic.dots[size_t(row) * size_t(pic.width) + size_t(col)] =
                (payload[index] & (0x80 >> (col / w % 8))) ? 1 : 0;
        }
    m_ctx.layout.AddPicture(std::move(pic), m_ctx.style.align);
    return std::to_string(8 * x) + " x " + std::to_string(y) + " dots, " + SizeText(w, hgt);
}

std::string ImageExecutor::Graphics(const Bytes& p, bool kept)
{
    if (!kept) return "too large, not stored";
    if (p.size() < 2) return "too short, ignored";
    uint8_t fn = p[1];
    if (fn < 16) fn = uint8_t(fn + 48);   // functions 0..3 are 48..51
    switch (fn) {
    case kFnNvCapacity:
        m_ctx.Reply(NumberReply(0x30, 0));
        return "NV graphics capacity: answered 0 (NV graphics not kept)";
    case kFnDotDensity: return "reference dot density (ignored)";
    case kFnPrintBuffered: {
        if (!m_graphics) return "print the stored graphics: none stored";
        Picture pic = std::move(*m_graphics);
        m_graphics.reset();
        m_ctx.layout.AddPicture(std::move(pic), m_ctx.style.align);
        return "print the stored graphics";
    }
    case kFnBufferRoom:
        m_ctx.Reply(NumberReply(0x31, kMaxGraphicsBytes));
        return "print buffer graphics room: answered";
    case kFnStoreRaster: return StoreGraphics(p, false);
    case kFnStoreColumns: return StoreGraphics(p, true);
    default: return "function " + std::to_string(p[1]) + " (NV graphics or not supported): not kept, skipped";
    }
}

// Function 112 (raster, rows of bytes) or 113 (columns of 8-dot bytes), magnified bx by.
std::string ImageExecutor::StoreGraphics(const Bytes& p, bool columns)
{
    if (p.size() < kGraphicsHeader) return "too short, ignored";
    const int bx = p[3], by = p[4];
    const int x = p[6] | p[7] << 8, y = p[8] | p[9] << 8;
    if (p[2] != 48) return "tone " + std::to_string(p[2]) + " not supported, ignored";
    if ((bx != 1 && bx != 2) || (by != 1 && by != 2)) return "invalid magnification, ignored";
    if (x == 0 || y == 0) return "empty graphics, ignored";
    // Colour 49 is the first colour; only ink of that colour is printed on a one-colour head.
    if (p[5] != 49) return "colour " + std::to_string(p[5]) + " not printed";
    const size_t rowBytes = size_t(x + 7) / 8, columnBytes = size_t(y + 7) / 8;
    const size_t need = columns ? size_t(x) * columnBytes : rowBytes * size_t(y);
    if (p.size() - kGraphicsHeader < need) return "data shorter than " + std::to_string(x) + " x " + std::to_string(y) + " dots, ignored";
    Picture pic;
    pic.width = std::min(x * bx, m_ctx.layout.PaperDots());
    pic.height = std::min(y * by, kMaxBlockDots);
    pic.dots.assign(size_t(pic.width) * size_t(pic.height), 0);
    const uint8_t* d = p.data() + kGraphicsHeader;
    for (int row = 0; row < pic.height; ++row)
        for (int col = 0; col < pic.width; ++col) {
            const int sx = col / bx, sy = row / by;
            const uint8_t byte = columns ? d[size_t(sx) * columnBytes + size_t(sy / 8)] : d[size_t(sy) * rowBytes + size_t(sx / 8)];
            const int bit = columns ? sy % 8 : sx % 8;
            pic.dots[size_t(row) * size_t(pic.width) + size_t(col)] = (byte & (0x80 >> bit)) ? 1 : 0;
        }
    m_graphics = std::move(pic);
    return std::to_string(x) + " x " + std::to_string(y) + " dots stored" +
           (bx == 2 || by == 2 ? ", magnified " + std::to_string(bx) + " x " + std::to_string(by) : "");
}

} // namespace tallyx::vprinter
