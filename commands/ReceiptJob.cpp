// Receipt jobs: grey pages through the picture pipeline, and the finishing around them.
#include "commands/ReceiptJob.h"

#include <algorithm>

#include "commands/MainCommands.h"
#include "commands/NvLogo.h"

namespace tallyx {

namespace {

// Grey strictly between these is a mid tone, neither paper nor ink.
constexpr int kMidLow = 32;
constexpr int kMidHigh = 224;
constexpr uint8_t kFeedBeforeCut = 0x48;   // GS V A/B n: dots fed so the last line clears the blade

bool Inked(const DotPicture& dots, int y)
{
    const auto row = dots.rows.begin() + std::ptrdiff_t(size_t(y) * dots.RowBytes());
    return std::any_of(row, row + std::ptrdiff_t(dots.RowBytes()), [](uint8_t b) { return b != 0; });
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
    const size_t size = size_t(page.width) * size_t(page.height);
    if (page.width > 0 && page.width <= kPictureMaxDots && page.height > 0 && page.pixels.size() >= size) {
        GreyPicture grey{page.width, page.height, {page.pixels.begin(), page.pixels.begin() + std::ptrdiff_t(size)}};
        DotPicture dots = DitherPicture(grey, o.dither.value_or(PickDither(page)), o.darkness);
        int last = dots.height;
        while (last > 0 && !Inked(dots, last - 1)) --last;
        int first = 0;
        while (o.trimTop && first < last && !Inked(dots, first)) ++first;
        if (last > first) {
            dots.rows.erase(dots.rows.begin() + std::ptrdiff_t(size_t(last) * dots.RowBytes()), dots.rows.end());
            dots.rows.erase(dots.rows.begin(), dots.rows.begin() + std::ptrdiff_t(size_t(first) * dots.RowBytes()));
            dots.height = last - first;
            for (const PictureBand& band : BuildPictureBands(dots, PictureCommand::Raster)) Append(out, band.bytes);
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
