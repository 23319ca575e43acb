#pragma once
// Pictures of any size and tone into the printer's dots: pixels in (grey or RGBA rows),
// fitted to the head, dithered by one of the methods, and sent as raster, column or
// graphics commands in bands. Decoding files is the front ends' affair.
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "res/Profiles.h"   // the head's dots across each roll
#include "res/Types.h"

namespace tallyx {

// Widest picture a command is built for: the bitmap commands' own bound.
inline constexpr int kPictureMaxDots = 2040;
inline constexpr int kDarknessMax = 100;   // darkness runs from -kDarknessMax to kDarknessMax
// Tallest picture printed: 8 m of paper, and the most a height field of two bytes counts.
inline constexpr int kPictureMaxRows = 65535;

enum class DitherMethod : uint8_t { Threshold, FloydSteinberg, Atkinson, Jarvis, Stucki, Sierra, Bayer4, Bayer8 };
enum class PictureCommand : uint8_t { Raster, Column, Graphics };

struct DitherName {
    DitherMethod method;
    std::string_view name;   // as typed on the command line and listed in the window
};
inline constexpr DitherName kDitherNames[] = {
    {DitherMethod::Threshold, "threshold"}, {DitherMethod::FloydSteinberg, "floyd-steinberg"},
    {DitherMethod::Atkinson, "atkinson"},   {DitherMethod::Jarvis, "jarvis"},
    {DitherMethod::Stucki, "stucki"},       {DitherMethod::Sierra, "sierra"},
    {DitherMethod::Bayer4, "bayer4"},       {DitherMethod::Bayer8, "bayer8"},
};

struct PictureCommandName {
    PictureCommand command;
    std::string_view name;
    std::string_view help;
};
inline constexpr PictureCommandName kPictureCommandNames[] = {
    {PictureCommand::Raster, "raster", "GS v 0 raster image"},
    {PictureCommand::Column, "column", "ESC * 24-dot double density bands"},
    {PictureCommand::Graphics, "graphics", "GS ( L store raster graphics, then print"},
};

enum class PixelFormat : uint8_t {
    Grey,   // one byte a pixel, 0 black .. 255 white
    Rgba,   // four bytes a pixel: red, green, blue, alpha (not premultiplied)
};

// Rows of pixels the caller owns, top row first.
struct PixelRows {
    const uint8_t* data = nullptr;
    int width = 0;
    int height = 0;
    size_t stride = 0;   // bytes from one row to the next
    PixelFormat format = PixelFormat::Grey;
};

enum class Fit : uint8_t {
    Shrink,   // narrower pictures keep their own width; wider ones shrink to `width`
    Exact,    // scaled to `width`, up or down
};

struct PictureOptions {
    DitherMethod method = DitherMethod::FloydSteinberg;
    int width = kPaper80Dots;   // dots, 1 .. kPictureMaxDots
    Fit fit = Fit::Shrink;
    PictureCommand command = PictureCommand::Raster;
    int darkness = 0;   // -kDarknessMax (lighter) .. kDarknessMax (darker); 0 leaves the tones
};

// Grey at the printed size, 0 black .. 255 white, rows top first.
struct GreyPicture {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> pixels;   // width * height
};

// The dots as printed: rows top first, (width + 7) / 8 bytes a row, the leftmost dot in
// the high bit, 1 = ink; the widening to whole bytes is paper.
struct DotPicture {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rows;

    size_t RowBytes() const { return size_t(width + 7) / 8; }
    bool Dot(int x, int y) const { return rows[size_t(y) * RowBytes() + size_t(x) / 8] & (0x80 >> (x % 8)); }
};

// The printed size of a picture width x height under the options (aspect kept, at least
// one dot each way).
struct PictureSize {
    int width = 0;
    int height = 0;
};
PictureSize FittedSize(int width, int height, const PictureOptions& options);

// Transparency laid over white, colour to grey, scaled by averaging to the fitted size.
GreyPicture PrepareGrey(const PixelRows& in, const PictureOptions& options);
// The darkness curve, then the method; paper (255) stays paper and black (0) stays ink.
DotPicture DitherPicture(const GreyPicture& grey, DitherMethod method, int darkness);
// The dots, or the refusal of a picture that would print taller than kPictureMaxRows.
class PictureResult : public OrRefusal<DotPicture> {
public:
    using OrRefusal::OrRefusal;
    const DotPicture& dots() const { return value(); }
};
// Both steps, once the size is checked.
PictureResult ConvertPicture(const PixelRows& in, const PictureOptions& options);

// Rows a band holds at most for a picture `width` dots wide: whole 24-dot stripes whose
// dots stay within the bitmap commands' 16368 bytes (216 rows at 576 dots, 336 at 384).
int BandRows(int width);
struct PictureBand {
    Bytes bytes;   // one command, to be sent whole
    int rows = 0;  // of the picture it prints
};
// The picture as commands, one a band; the bands print one below the other with no gap.
// Column bands end the picture on whole stripes (white below its last row).
std::vector<PictureBand> BuildPictureBands(const DotPicture& dots, PictureCommand command);
// How long to wait after a band has gone over a serial line at `baud` before the next
// goes: the head's time for its rows (at 50 mm/s) less the time the line took.
int BandPauseMs(const PictureBand& band, int baud);

// The dots as the NV logo and bit image commands take them: columns of eight-dot bytes,
// columns left to right, x = width in bytes, y = height in units of eight dots.
struct ColumnDots {
    uint8_t x = 0;
    uint8_t y = 0;
    Bytes data;   // 8 * x * y bytes
};
ColumnDots ToColumnDots(const DotPicture& dots);
// And back: 8 * x dots wide, 8 * y high.
DotPicture FromColumnDots(const ColumnDots& columns);

} // namespace tallyx
