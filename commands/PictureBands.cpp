// The dots as commands: GS v 0, ESC * or GS ( L, a band at a time.
#include <algorithm>
#include <cassert>

#include "commands/Bitmap.h"
#include "commands/Picture.h"

namespace tallyx {

namespace {

constexpr int kStripeRows = 24;           // ESC * 24-dot double density: three bytes a column
constexpr int kHeadRowsPerSecond = 400;   // 50 mm/s at 8 dots a millimetre: a slow head

void PutLowHigh(Bytes& out, size_t v)
{
    out.push_back(uint8_t(v & 0xFF));
    out.push_back(uint8_t(v >> 8));
}

void AppendRows(Bytes& out, const DotPicture& dots, int top, int rows)
{
    const auto first = dots.rows.begin() + long(size_t(top) * dots.RowBytes());
    out.insert(out.end(), first, first + long(size_t(rows) * dots.RowBytes()));
}

Bytes RasterBand(const DotPicture& dots, int top, int rows)
{
    Bytes out{0x1D, 0x76, 0x30, 0x00};   // GS v 0, normal size
    PutLowHigh(out, dots.RowBytes());
    PutLowHigh(out, size_t(rows));
    AppendRows(out, dots, top, rows);
    return out;
}

Bytes GraphicsBand(const DotPicture& dots, int top, int rows)
{
    Bytes out{0x1D, 0x28, 0x4C};   // GS ( L
    PutLowHigh(out, 10 + dots.RowBytes() * size_t(rows));
    out.insert(out.end(), {0x30, 0x70, 0x30, 0x01, 0x01, 0x31});   // store raster: one tone, 1 x 1, colour 1
    PutLowHigh(out, size_t(dots.width));
    PutLowHigh(out, size_t(rows));
    AppendRows(out, dots, top, rows);
    out.insert(out.end(), {0x1D, 0x28, 0x4C, 0x02, 0x00, 0x30, 0x32});   // GS ( L: print what is stored
    return out;
}

// Rows below the picture's last are paper: the last stripe is filled out with white.
Bytes ColumnBand(const DotPicture& dots, int top, int rows, bool first, bool last)
{
    Bytes out;
    if (first) out.insert(out.end(), {0x1B, 0x33, uint8_t(kStripeRows)});   // ESC 3: stripes touch
    for (int stripe = top; stripe < top + rows; stripe += kStripeRows) {
        out.insert(out.end(), {0x1B, 0x2A, 0x21});   // ESC * 33: 24-dot double density
        PutLowHigh(out, size_t(dots.width));
        for (int x = 0; x < dots.width; ++x)
            for (int byte = 0; byte < 3; ++byte) {
                uint8_t acc = 0;
                for (int bit = 0; bit < 8; ++bit) {
                    const int y = stripe + 8 * byte + bit;
                    if (y < dots.height && dots.Dot(x, y)) acc |= uint8_t(0x80 >> bit);
                }
                out.push_back(acc);
            }
        out.push_back(0x0A);
    }
    if (last) out.insert(out.end(), {0x1B, 0x32});   // ESC 2: the default line spacing again
    return out;
}

} // namespace

int BandRows(int width)
{
    const int rows = int(kImageCmdLimit / ((size_t(width) + 7) / 8));
    return std::max(kStripeRows, rows / kStripeRows * kStripeRows);
}

std::vector<PictureBand> BuildPictureBands(const DotPicture& dots, PictureCommand command)
{
    assert(dots.width > 0 && dots.width <= kPictureMaxDots);
    std::vector<PictureBand> bands;
    const int limit = BandRows(dots.width);
    for (int top = 0; top < dots.height; top += limit) {
        const int rows = std::min(limit, dots.height - top);
        switch (command) {
        case PictureCommand::Raster: bands.push_back({RasterBand(dots, top, rows), rows}); break;
        case PictureCommand::Graphics: bands.push_back({GraphicsBand(dots, top, rows), rows}); break;
        case PictureCommand::Column:
            bands.push_back({ColumnBand(dots, top, rows, top == 0, top + rows == dots.height), rows});
            break;
        }
    }
    return bands;
}

int BandPauseMs(const PictureBand& band, int baud)
{
    const int64_t printMs = int64_t(band.rows) * 1000 / kHeadRowsPerSecond;
    const int64_t lineMs = baud > 0 ? int64_t(band.bytes.size()) * 10 * 1000 / baud : 0;   // ten bits a byte
    return int(std::max<int64_t>(0, printMs - lineMs));
}

ColumnDots ToColumnDots(const DotPicture& dots)
{
    assert(dots.width <= kPictureMaxDots && dots.height <= kPictureMaxDots);
    ColumnDots out;
    out.x = uint8_t((dots.width + 7) / 8);
    out.y = uint8_t((dots.height + 7) / 8);
    out.data.assign(8 * size_t(out.x) * size_t(out.y), 0);
    size_t n = 0;
    for (int x = 0; x < 8 * out.x; ++x)
        for (int byte = 0; byte < out.y; ++byte, ++n)
            for (int bit = 0; bit < 8; ++bit) {
                const int y = 8 * byte + bit;
                if (x < dots.width && y < dots.height && dots.Dot(x, y)) out.data[n] |= uint8_t(0x80 >> bit);
            }
    return out;
}

DotPicture FromColumnDots(const ColumnDots& columns)
{
    DotPicture dots{8 * columns.x, 8 * columns.y, {}};
    dots.rows.assign(dots.RowBytes() * size_t(dots.height), 0);
    size_t n = 0;
    for (int x = 0; x < dots.width; ++x)
        for (int byte = 0; byte < columns.y; ++byte, ++n)
            for (int bit = 0; bit < 8; ++bit)
                if (columns.data[n] & (0x80 >> bit))
                    dots.rows[size_t(8 * byte + bit) * dots.RowBytes() + size_t(x) / 8] |= uint8_t(0x80 >> (x % 8));
    return dots;
}

} // namespace tallyx
