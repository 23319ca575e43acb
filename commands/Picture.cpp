#include "commands/Picture.h"

#include <algorithm>
#include <array>
#include <cassert>
#include <cmath>
#include <span>

#include "res/Messages.h"

namespace tallyx {

namespace {

// One tap of an error-diffusion kernel: where the error goes and how much of it.
struct Tap {
    int dx, dy, weight;
};

constexpr Tap kFloydSteinberg[] = {{1, 0, 7}, {-1, 1, 3}, {0, 1, 5}, {1, 1, 1}};
// Atkinson passes on only six eighths of the error, on purpose: highlights stay clean.
constexpr Tap kAtkinson[] = {{1, 0, 1}, {2, 0, 1}, {-1, 1, 1}, {0, 1, 1}, {1, 1, 1}, {0, 2, 1}};
constexpr Tap kJarvis[] = {{1, 0, 7},  {2, 0, 5},  {-2, 1, 3}, {-1, 1, 5}, {0, 1, 7}, {1, 1, 5},
                           {2, 1, 3},  {-2, 2, 1}, {-1, 2, 3}, {0, 2, 5},  {1, 2, 3}, {2, 2, 1}};
constexpr Tap kStucki[] = {{1, 0, 8},  {2, 0, 4},  {-2, 1, 2}, {-1, 1, 4}, {0, 1, 8}, {1, 1, 4},
                           {2, 1, 2},  {-2, 2, 1}, {-1, 2, 2}, {0, 2, 4},  {1, 2, 2}, {2, 2, 1}};
constexpr Tap kSierra[] = {{1, 0, 5},  {2, 0, 3}, {-2, 1, 2}, {-1, 1, 4}, {0, 1, 5},
                           {1, 1, 4},  {2, 1, 2}, {-1, 2, 2}, {0, 2, 3},  {1, 2, 2}};

// Ordered methods: a pixel is ink below its cell's level (cell + 1/2) / cells of 256.
constexpr uint8_t kOneCell[] = {0};
constexpr uint8_t kBayer4[] = {0, 8, 2, 10, 12, 4, 14, 6, 3, 11, 1, 9, 15, 7, 13, 5};
constexpr uint8_t kBayer8[] = {
    0,  32, 8,  40, 2,  34, 10, 42, 48, 16, 56, 24, 50, 18, 58, 26, 12, 44, 4,  36, 14, 46,
    6,  38, 60, 28, 52, 20, 62, 30, 54, 22, 3,  35, 11, 43, 1,  33, 9,  41, 51, 19, 59, 27,
    49, 17, 57, 25, 15, 47, 7,  39, 13, 45, 5,  37, 63, 31, 55, 23, 61, 29, 53, 21,
};

// One row a method: an error-diffusion kernel (over its divisor) or an ordered matrix.
struct DitherRow {
    DitherMethod method;
    std::span<const Tap> kernel;
    int divisor;
    std::span<const uint8_t> matrix;
    int side;   // of the matrix
};

constexpr DitherRow kDitherRows[] = {
    {DitherMethod::Threshold, {}, 1, kOneCell, 1},
    {DitherMethod::FloydSteinberg, kFloydSteinberg, 16, {}, 0},
    {DitherMethod::Atkinson, kAtkinson, 8, {}, 0},
    {DitherMethod::Jarvis, kJarvis, 48, {}, 0},
    {DitherMethod::Stucki, kStucki, 42, {}, 0},
    {DitherMethod::Sierra, kSierra, 32, {}, 0},
    {DitherMethod::Bayer4, {}, 1, kBayer4, 4},
    {DitherMethod::Bayer8, {}, 1, kBayer8, 8},
};

constexpr int kKernelReach = 2;   // the widest kernel's reach each side and below

// Where each output sample takes its input: the overlap of its span with each input
// sample, so shrinking averages every input sample it covers (no aliasing).
struct Span {
    int first = 0;
    std::vector<float> weights;
};

std::vector<Span> Spans(int from, int to)
{
    std::vector<Span> spans(static_cast<size_t>(to));
    const double scale = double(from) / double(to);
    for (int i = 0; i < to; ++i) {
        const double start = i * scale, end = (i + 1) * scale;
        Span& s = spans[size_t(i)];
        s.first = std::min(int(start), from - 1);
        for (int k = s.first; k < from && k < end; ++k)
            s.weights.push_back(float((std::min(end, k + 1.0) - std::max(start, double(k))) / scale));
    }
    return spans;
}

// One input row as grey over white, 0 .. 255.
void ReadRow(const PixelRows& in, int y, std::vector<float>& out)
{
    const uint8_t* p = in.data + size_t(y) * in.stride;
    if (in.format == PixelFormat::Grey) {
        for (int x = 0; x < in.width; ++x) out[size_t(x)] = p[x];
        return;
    }
    for (int x = 0; x < in.width; ++x, p += 4) {
        const float luminance = (30.0f * p[0] + 59.0f * p[1] + 11.0f * p[2]) / 100.0f;
        const float alpha = p[3] / 255.0f;
        out[size_t(x)] = luminance * alpha + 255.0f * (1.0f - alpha);
    }
}

void ScaleRow(const std::vector<float>& row, const std::vector<Span>& spans, std::vector<float>& out)
{
    for (size_t i = 0; i < spans.size(); ++i) {
        const Span& s = spans[i];
        float sum = 0;
        for (size_t k = 0; k < s.weights.size(); ++k) sum += row[size_t(s.first) + k] * s.weights[k];
        out[i] = sum;
    }
}

// The darkness bends the tone curve and keeps its ends: paper stays paper (a transparent
// background stays clean), black stays black.
std::array<uint8_t, 256> DarknessCurve(int darkness)
{
    const double exponent = std::exp2(double(std::clamp(darkness, -kDarknessMax, kDarknessMax)) / 50.0);
    std::array<uint8_t, 256> curve{};
    for (int v = 0; v < 256; ++v) curve[size_t(v)] = uint8_t(std::lround(255.0 * std::pow(v / 255.0, exponent)));
    return curve;
}

void SetInk(DotPicture& dots, int x, int y)
{
    dots.rows[size_t(y) * dots.RowBytes() + size_t(x) / 8] |= uint8_t(0x80 >> (x % 8));
}

void Ordered(const GreyPicture& grey, const DitherRow& row, DotPicture& dots)
{
    const int cells = row.side * row.side;
    for (int y = 0; y < grey.height; ++y)
        for (int x = 0; x < grey.width; ++x) {
            const int cell = row.matrix[size_t((y % row.side) * row.side + x % row.side)];
            // v < (cell + 1/2) * 256 / cells, in whole numbers
            if (2 * cells * grey.pixels[size_t(y) * size_t(grey.width) + size_t(x)] < (2 * cell + 1) * 256)
                SetInk(dots, x, y);
        }
}

// Serpentine: every other row runs right to left with the kernel mirrored, so the error
// does not drift one way and draw diagonal worms across flat tones.
void Diffused(const GreyPicture& grey, const DitherRow& row, DotPicture& dots)
{
    const int w = grey.width;
    const size_t padded = size_t(w + 2 * kKernelReach);
    std::array<std::vector<float>, kKernelReach + 1> error;
    for (auto& e : error) e.assign(padded, 0.0f);
    for (int y = 0; y < grey.height; ++y) {
        const bool backwards = y % 2 == 1;
        const int dir = backwards ? -1 : 1;
        for (int i = 0; i < w; ++i) {
            const int x = backwards ? w - 1 - i : i;
            const uint8_t v = grey.pixels[size_t(y) * size_t(w) + size_t(x)];
            const size_t at = size_t(x + kKernelReach);
            // Paper and solid black print as they are and pass nothing on.
            if (v == 0) SetInk(dots, x, y);
            if (v == 0 || v == 255) continue;
            const float value = v + error[0][at];
            const bool ink = value < 128.0f;
            if (ink) SetInk(dots, x, y);
            const float e = (value - (ink ? 0.0f : 255.0f)) / float(row.divisor);
            for (const Tap& t : row.kernel) error[size_t(t.dy)][size_t(int(at) + dir * t.dx)] += e * float(t.weight);
        }
        std::rotate(error.begin(), error.begin() + 1, error.end());
        error.back().assign(padded, 0.0f);
    }
}

} // namespace

PictureSize FittedSize(int width, int height, const PictureOptions& options)
{
    assert(width > 0 && height > 0 && options.width > 0);
    const int w = options.fit == Fit::Exact || width > options.width ? options.width : width;
    const int64_t h = (int64_t(height) * w + width / 2) / width;
    return {w, int(std::clamp<int64_t>(h, 1, INT32_MAX))};
}

GreyPicture PrepareGrey(const PixelRows& in, const PictureOptions& options)
{
    const PictureSize size = FittedSize(in.width, in.height, options);
    const std::vector<Span> across = Spans(in.width, size.width);
    const std::vector<Span> down = Spans(in.height, size.height);
    GreyPicture grey{size.width, size.height, std::vector<uint8_t>(size_t(size.width) * size_t(size.height))};
    std::vector<float> source(size_t(in.width)), scaled(size_t(size.width)), sum(size_t(size.width));
    int cached = -1;   // the input row `scaled` holds: enlarging reads one row many times
    for (int y = 0; y < size.height; ++y) {
        const Span& s = down[size_t(y)];
        std::fill(sum.begin(), sum.end(), 0.0f);
        for (size_t k = 0; k < s.weights.size(); ++k) {
            const int row = s.first + int(k);
            if (row != cached) {
                ReadRow(in, row, source);
                ScaleRow(source, across, scaled);
                cached = row;
            }
            for (size_t x = 0; x < sum.size(); ++x) sum[x] += scaled[x] * s.weights[k];
        }
        uint8_t* out = grey.pixels.data() + size_t(y) * size_t(size.width);
        for (size_t x = 0; x < sum.size(); ++x) out[x] = uint8_t(std::clamp(std::lround(sum[x]), 0L, 255L));
    }
    return grey;
}

DotPicture DitherPicture(const GreyPicture& grey, DitherMethod method, int darkness)
{
    const DitherRow* row = FindRow(kDitherRows, &DitherRow::method, method);
    assert(row);
    GreyPicture toned = grey;
    const std::array<uint8_t, 256> curve = DarknessCurve(darkness);
    for (uint8_t& v : toned.pixels) v = curve[v];
    DotPicture dots{grey.width, grey.height, {}};
    dots.rows.assign(dots.RowBytes() * size_t(grey.height), 0);
    if (row->kernel.empty()) Ordered(toned, *row, dots);
    else Diffused(toned, *row, dots);
    return dots;
}

PictureResult ConvertPicture(const PixelRows& in, const PictureOptions& options)
{
    if (FittedSize(in.width, in.height, options).height > kPictureMaxRows) return Message{kCaptionApp, kMsgPictureTooTall};
    return DitherPicture(PrepareGrey(in, options), options.method, options.darkness);
}

} // namespace tallyx
