#include "vprinter/Executors.h"

#include <algorithm>

namespace tallyx::vprinter {

namespace {

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

} // namespace tallyx::vprinter
