// Receipt jobs: grey pages to GS v 0 bands and the finishing around them.
#include "commands/ReceiptJob.h"

#include <algorithm>
#include <vector>

#include "commands/Bitmap.h"
#include "commands/MainCommands.h"
#include "commands/NvLogo.h"

namespace tallyx {

namespace {

// Rows per GS v 0: small enough for the input buffer of a 58 mm printer.
constexpr int kBandRows = 64;
// Grey strictly between these is a mid tone, neither paper nor ink.
constexpr int kMidLow = 32;
constexpr int kMidHigh = 224;
constexpr uint8_t kFeedBeforeCut = 0x48;   // GS V A/B n: dots fed so the last line clears the blade

int Darkened(int grey, int darkness)
{
    const int ink = (255 - grey) * (darkness + 50) / 100;
    return 255 - std::clamp(ink, 0, 255);
}

// One bit a dot, MSB first, rowBytes a row.
std::vector<uint8_t> Dots(const GreyPage& page, DitherMethod method, int darkness, int rowBytes)
{
    std::vector<uint8_t> dots(size_t(rowBytes) * size_t(page.height), 0);
    const int width = std::min(page.width, rowBytes * 8);
    // Floyd-Steinberg: this row's and the next row's carried error, one slot of slack each side.
    std::vector<int> here(size_t(width) + 2, 0), below(size_t(width) + 2, 0);
    for (int y = 0; y < page.height; ++y) {
        const uint8_t* row = page.pixels.data() + size_t(y) * size_t(page.width);
        uint8_t* out = dots.data() + size_t(y) * size_t(rowBytes);
        for (int x = 0; x < width; ++x) {
            int v = Darkened(row[x], darkness);
            if (method == DitherMethod::FloydSteinberg) v += here[size_t(x) + 1] / 16;
            const bool black = v < kInkThreshold;
            if (black) out[x / 8] |= uint8_t(0x80 >> (x % 8));
            if (method == DitherMethod::FloydSteinberg) {
                const int error = v - (black ? 0 : 255);
                here[size_t(x) + 2] += error * 7;
                below[size_t(x)] += error * 3;
                below[size_t(x) + 1] += error * 5;
                below[size_t(x) + 2] += error * 1;
            }
        }
        here.swap(below);
        std::fill(below.begin(), below.end(), 0);
    }
    return dots;
}

bool Inked(const std::vector<uint8_t>& dots, int rowBytes, int y)
{
    const auto row = dots.begin() + std::ptrdiff_t(y) * rowBytes;
    return std::any_of(row, row + rowBytes, [](uint8_t b) { return b != 0; });
}

void Append(Bytes& out, const Bytes& more)
{
    out.insert(out.end(), more.begin(), more.end());
}

Bytes Cut(CutKind kind)
{
    return {0x1D, 0x56, uint8_t(kind == CutKind::Full ? 0x41 : 0x42), kFeedBeforeCut};   // GS V A/B n
}

Bytes Logo(const ReceiptOptions& o)
{
    return BuildPrintLogoCommand(std::clamp(o.logoSlot, 1, kLogoSlotCount) - 1, 0);
}

} // namespace

DitherMethod PickDither(const GreyPage& page)
{
    size_t inked = 0, mid = 0;
    for (const uint8_t v : page.pixels) {
        if (v < kMidHigh) ++inked;
        if (v > kMidLow && v < kMidHigh) ++mid;
    }
    // Anti-aliased text keeps its grey to the strokes' edges, under half of its ink.
    return mid * 2 > inked ? DitherMethod::FloydSteinberg : DitherMethod::Threshold;
}

Bytes BuildJobStart(const ReceiptOptions& o)
{
    Bytes out{0x1B, 0x40};   // ESC @
    if (o.drawerWhen == DrawerWhen::BeforeJob) Append(out, BuildDrawerPulse(o.drawer));
    if (o.logo == LogoWhere::Top) Append(out, Logo(o));
    return out;
}

Bytes BuildPage(const GreyPage& page, const ReceiptOptions& o)
{
    Bytes out;
    if (page.width > 0 && page.height > 0 && page.pixels.size() >= size_t(page.width) * size_t(page.height)) {
        const int rowBytes = (page.width + 7) / 8;
        const DitherMethod method = o.dither == DitherMethod::Auto ? PickDither(page) : o.dither;
        const std::vector<uint8_t> dots = Dots(page, method, std::clamp(o.darkness, 0, 100), rowBytes);
        int rows = page.height;
        while (rows > 0 && !Inked(dots, rowBytes, rows - 1)) --rows;
        int first = 0;
        while (o.trimTop && first < rows && !Inked(dots, rowBytes, first)) ++first;
        for (int top = first; top < rows; top += kBandRows) {
            const int band = std::min(kBandRows, rows - top);
            // GS v 0 m xL xH yL yH
            out.insert(out.end(), {0x1D, 0x76, 0x30, 0x00, uint8_t(rowBytes), uint8_t(rowBytes >> 8),
                                   uint8_t(band), uint8_t(band >> 8)});
            const auto from = dots.begin() + std::ptrdiff_t(top) * rowBytes;
            out.insert(out.end(), from, from + std::ptrdiff_t(band) * rowBytes);
        }
    }
    if (o.cut == CutWhen::AfterPage) Append(out, Cut(o.cutKind));
    return out;
}

Bytes BuildJobEnd(const ReceiptOptions& o)
{
    Bytes out;
    if (o.logo == LogoWhere::Bottom) Append(out, Logo(o));
    if (o.cut == CutWhen::AfterJob) Append(out, Cut(o.cutKind));
    if (o.drawerWhen == DrawerWhen::AfterJob) Append(out, BuildDrawerPulse(o.drawer));
    return out;
}

} // namespace tallyx
