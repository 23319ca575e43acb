// Pictures of any bytes: as a file through Qt's readers, or as raw grey or RGBA rows, then
// fitted, dithered and banded under any choices. A refusal has a text; the bands carry
// every row once and their length fields add up.
#include <fuzzer/FuzzedDataProvider.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "commands/NvLogo.h"
#include "commands/Picture.h"
#include "decode/PictureFile.h"
#include "fuzz/FuzzCheck.h"

using namespace tallyx;

namespace {

const std::string& ScratchPath()
{
    static const std::string folder = ::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    static const std::string path = folder + "/tallyx-fuzz-picture-" + std::to_string(::getpid());
    return path;
}

void RemoveScratch() { std::remove(ScratchPath().c_str()); }

size_t U16(const Bytes& b, size_t at) { return size_t(b[at]) | size_t(b[at + 1]) << 8; }

void CheckBands(const DotPicture& dots, PictureCommand command)
{
    const std::vector<PictureBand> bands = BuildPictureBands(dots, command);
    int rows = 0;
    for (const PictureBand& band : bands) {
        const Bytes& b = band.bytes;
        FUZZ_CHECK(band.rows > 0 && band.rows <= BandRows(dots.width));
        if (command == PictureCommand::Raster) {
            FUZZ_CHECK(b.size() == 8 + U16(b, 4) * U16(b, 6));
            FUZZ_CHECK(U16(b, 4) == dots.RowBytes() && int(U16(b, 6)) == band.rows);
        } else if (command == PictureCommand::Graphics) {
            FUZZ_CHECK(b.size() == 5 + U16(b, 3) + 7);
            FUZZ_CHECK(int(U16(b, 11)) == dots.width && int(U16(b, 13)) == band.rows);
        } else {
            const size_t stripes = size_t(band.rows + 23) / 24;
            const size_t extra = (rows == 0 ? 3 : 0) + (rows + band.rows == dots.height ? 2 : 0);
            FUZZ_CHECK(b.size() == extra + stripes * (5 + 3 * size_t(dots.width) + 1));
        }
        rows += band.rows;
    }
    FUZZ_CHECK(rows == dots.height);
}

// Converts unless the picture would be large: the same code, but seconds a run under the
// sanitizers. Refused sizes are always tried.
void Convert(const PixelRows& rows, const PictureOptions& options, int slot);

void Check(const PictureResult& result, const PictureOptions& options, int slot)
{
    if (!result.ok()) {
        FUZZ_CHECK(!result.refusal()->text.empty());
        return;
    }
    const DotPicture& dots = result.dots();
    FUZZ_CHECK(dots.width > 0 && dots.height > 0 && dots.height <= kPictureMaxRows);
    FUZZ_CHECK(dots.width <= options.width);
    FUZZ_CHECK(dots.rows.size() == dots.RowBytes() * size_t(dots.height));
    CheckBands(dots, options.command);
    CheckBuilderResult(BuildDownloadLogoCommand(dots, slot));
}

void Convert(const PixelRows& rows, const PictureOptions& options, int slot)
{
    const PictureSize size = FittedSize(rows.width, rows.height, options);
    if (size.height <= kPictureMaxRows && int64_t(size.width) * size.height > 150'000) return;
    Check(ConvertPicture(rows, options), options, slot);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    std::atexit(RemoveScratch);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider in(data, size);
    PictureOptions options;
    options.method = kDitherNames[in.ConsumeIntegralInRange<size_t>(0, std::size(kDitherNames) - 1)].method;
    options.command = kPictureCommandNames[in.ConsumeIntegralInRange<size_t>(0, 2)].command;
    options.width = in.ConsumeIntegralInRange<int>(1, kPictureMaxDots);
    options.fit = in.ConsumeBool() ? Fit::Exact : Fit::Shrink;
    options.darkness = in.ConsumeIntegralInRange<int>(-kDarknessMax, kDarknessMax);
    const int slot = in.ConsumeIntegralInRange<int>(0, kLogoSlotCount - 1);

    if (in.ConsumeBool()) {
        // Raw rows: the size from the input, the pixels what is left, repeated to fill.
        const PixelFormat format = in.ConsumeBool() ? PixelFormat::Rgba : PixelFormat::Grey;
        const int width = in.ConsumeIntegralInRange<int>(1, 600);
        const int height = in.ConsumeIntegralInRange<int>(1, 600);
        const size_t stride = size_t(width) * (format == PixelFormat::Rgba ? 4 : 1);
        Bytes pixels = in.ConsumeRemainingBytes<uint8_t>();
        if (pixels.empty()) pixels.push_back(0);
        Bytes image(stride * size_t(height));
        for (size_t i = 0; i < image.size(); ++i) image[i] = pixels[i % pixels.size()];
        Convert({image.data(), width, height, stride, format}, options, slot);
        return 0;
    }
    const Bytes file = in.ConsumeRemainingBytes<uint8_t>();
    FILE* out = std::fopen(ScratchPath().c_str(), "wb");
    if (!out) return 0;
    const size_t written = std::fwrite(file.data(), 1, file.size(), out);
    std::fclose(out);
    if (written != file.size()) return 0;
    const DecodeResult decoded = DecodePictureFile(ScratchPath(), options);
    if (!decoded.ok()) {
        FUZZ_CHECK(!decoded.refusal()->text.empty());
        return 0;
    }
    Convert(decoded.picture().Rows(), options, slot);
    return 0;
}
