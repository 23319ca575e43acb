#include "commands/Bitmap.h"

#include <algorithm>
#include <cassert>
#include <filesystem>
#include <fstream>
#include <vector>

#include "res/Messages.h"

namespace tallyx {

std::array<uint8_t, kImageCmdBufSize> g_imageCmdBuf{};

namespace {

constexpr size_t kHeadersSize = 14 + 40;   // file header, then the information header as 40 bytes

struct BitmapHeaders {
    uint16_t bfType, bfReserved1, bfReserved2;
    int32_t biWidth, biHeight;
    uint16_t biPlanes, biBitCount;
    uint32_t biCompression, biClrImportant;
};

uint32_t U16(const uint8_t* p) { return uint32_t(p[0]) | uint32_t(p[1]) << 8; }
uint32_t U32(const uint8_t* p) { return U16(p) | U16(p + 2) << 16; }

BitmapHeaders ParseHeaders(const uint8_t* p)
{
    return {uint16_t(U16(p)),        uint16_t(U16(p + 6)),  uint16_t(U16(p + 8)),
            int32_t(U32(p + 18)),    int32_t(U32(p + 22)),  uint16_t(U16(p + 26)),
            uint16_t(U16(p + 28)),   U32(p + 30),           U32(p + 50)};
}

Message Refuse(std::string_view text) { return Message{kCaptionApp, text}; }

// The seven checks in the order the operator sees them; nothing else about the file.
const std::string_view* CheckHeaders(const BitmapHeaders& b)
{
    static constexpr int kDepths[] = {32, 24, 16, 8, 4, 1};
    if (b.bfType != 0x4D42) return &kMsgBmpFormat01;   // "BM"
    if (b.bfReserved1 != 0) return &kMsgBmpFormat02;
    if (b.bfReserved2 != 0) return &kMsgBmpFormat03;
    if (b.biClrImportant != 0) return &kMsgBmpFormat04;
    if (b.biCompression != 0) return &kMsgBmpFormat05;
    if (b.biPlanes != 1) return &kMsgBmpFormat06;
    if (std::find(std::begin(kDepths), std::end(kDepths), b.biBitCount) == std::end(kDepths))
        return &kMsgBmpUnsupported;
    return nullptr;
}

uint64_t CeilDiv8(int64_t v) { return uint64_t(v + 7) / 8; }

struct Bgr {
    int blue, green, red;
};

class PixelReader {
public:
    PixelReader(int bitCount, const std::vector<uint8_t>& palette) : m_bits(bitCount), m_palette(palette) {}

    Bgr At(const uint8_t* row, int c) const
    {
        switch (m_bits) {
        case 1: return Entry(row[c / 8] >> (7 - c % 8) & 0x01);
        case 4: return Entry(c % 2 == 0 ? row[c / 2] >> 4 : row[c / 2] & 0x0F);
        case 8: return Entry(row[c]);
        case 16: {
            const uint32_t w = U16(row + 2 * c);   // x1555: bit 15 unused
            return {Scale5(w), Scale5(w >> 5), Scale5(w >> 10)};
        }
        case 24: return {row[3 * c], row[3 * c + 1], row[3 * c + 2]};
        default: return {row[4 * c], row[4 * c + 1], row[4 * c + 2]};   // 32: fourth byte unused
        }
    }

private:
    static int Scale5(uint32_t v) { return int(v & 0x1F) * 255 / 31; }
    Bgr Entry(size_t i) const { return {m_palette[4 * i], m_palette[4 * i + 1], m_palette[4 * i + 2]}; }

    int m_bits;
    const std::vector<uint8_t>& m_palette;
};

bool IsInk(const Bgr& p) { return (30 * p.red + 59 * p.green + 11 * p.blue) / 100 < kInkThreshold; }

// Columns left to right, each from the top row down; rows are stored bottom-up.
size_t WriteColumns(const PixelReader& reader, const std::vector<uint8_t>& pixels, size_t stride,
                    int width, int height, int columns, uint8_t* out)
{
    size_t n = 0;
    for (int c = 0; c < columns; ++c) {
        uint8_t acc = 0;
        int k = 0;
        for (int t = 0; t < height; ++t) {
            const uint8_t* row = pixels.data() + size_t(height - 1 - t) * stride;
            // The widening to whole bytes is white.
            if (c < width && IsInk(reader.At(row, c))) acc |= uint8_t(0x80 >> k);
            if (++k == 8) {
                out[n++] = acc;
                acc = 0;
                k = 0;
            }
        }
        if (k != 0) out[n++] = acc;
    }
    return n;
}

} // namespace

RasterResult LoadBitmapRaster(const std::string& path, size_t h)
{
    assert(h + kImageCmdLimit <= kImageCmdBufSize);
    // Not a regular file (a directory, a pipe): nothing a bitmap can be read from.
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) return Refuse(kMsgBmpCannotOpen);
    std::ifstream file(path, std::ios::binary | std::ios::ate);
    const std::streamoff fileSize = file ? std::streamoff(file.tellg()) : -1;
    if (fileSize < 0) return Refuse(kMsgBmpCannotOpen);
    file.seekg(0);

    uint8_t raw[kHeadersSize];
    if (!file.read(reinterpret_cast<char*>(raw), sizeof raw)) return Refuse(kMsgBmpTruncated);
    const BitmapHeaders b = ParseHeaders(raw);
    if (const std::string_view* fault = CheckHeaders(b)) return Refuse(*fault);

    // Everything that sizes a read or a buffer is settled before any pixel is read.
    if (b.biWidth <= 0 || b.biHeight == 0) return Refuse(kMsgBmpBadSize);
    if (b.biHeight < 0) return Refuse(kMsgBmpTopDown);
    const uint64_t columnBytes = CeilDiv8(b.biHeight);
    const uint64_t dataLength = 8 * CeilDiv8(b.biWidth) * columnBytes;
    if (h + dataLength > kImageCmdLimit) return Refuse(kMsgBmpTooLarge);
    if (b.biWidth > kBitmapMaxSide || b.biHeight > kBitmapMaxSide) return Refuse(kMsgBmpTooWide);

    const size_t paletteSize = b.biBitCount <= 8 ? size_t(4) << b.biBitCount : 0;
    const size_t stride = ((size_t(b.biBitCount) * size_t(b.biWidth) + 31) & ~size_t(31)) / 8;
    const size_t pixelSize = stride * size_t(b.biHeight);
    // The palette and the pixels follow the 54 header bytes whatever bfOffBits or biSize say.
    if (uint64_t(fileSize) < kHeadersSize + paletteSize + pixelSize) return Refuse(kMsgBmpTruncated);

    std::vector<uint8_t> palette(paletteSize);
    std::vector<uint8_t> pixels(pixelSize);
    if (!file.read(reinterpret_cast<char*>(palette.data()), std::streamsize(paletteSize)) ||
        !file.read(reinterpret_cast<char*>(pixels.data()), std::streamsize(pixelSize)))
        return Refuse(kMsgBmpTruncated);   // shortened since its length was taken

    g_imageCmdBuf.fill(0);
    BitmapRaster raster;
    raster.x = uint8_t(CeilDiv8(b.biWidth));
    raster.y = uint8_t(columnBytes);
    const PixelReader reader(b.biBitCount, palette);
    raster.dataLength = WriteColumns(reader, pixels, stride, b.biWidth, b.biHeight, 8 * raster.x,
                                     g_imageCmdBuf.data() + h);
    raster.end = h + raster.dataLength;
    return raster;
}

} // namespace tallyx
