#pragma once
// Picture files through Qt's image readers (PNG, JPEG, GIF, WebP, TIFF, BMP) into RGBA
// rows for commands/Picture.h; the callers see only std types.
#include <cstdint>
#include <string>
#include <vector>

#include "commands/Picture.h"
#include "res/Types.h"

namespace tallyx {

// Most pixels decoded from one file (200 MB as RGBA). A JPEG counts at the reduced size
// it is decoded at, so a 100-megapixel photo for a 576-dot head still reads.
inline constexpr int64_t kDecodeMaxPixels = 50'000'000;

struct DecodedPicture {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgba;   // red, green, blue, alpha (not premultiplied), rows top first
    bool bmp = false;            // the file is a BMP, whatever its name says

    PixelRows Rows() const { return {rgba.data(), width, height, 4 * size_t(width), PixelFormat::Rgba}; }
};

class DecodeResult : public OrRefusal<DecodedPicture> {
public:
    using OrRefusal::OrRefusal;
    const DecodedPicture& picture() const { return value(); }
};

// Reads the file at path (a file system name), upright as its orientation tag says. A
// JPEG is decoded at the smallest of 1/8, 1/4, 1/2 or full size that still covers what
// `options` will fit it to (libjpeg's scaled decoding), never at full size first.
DecodeResult DecodePictureFile(const std::string& path, const PictureOptions& options);

// Whether the file holds a BMP, by its content.
bool IsBmpFile(const std::string& path);

// The dots as a one-bit PNG, ink black: what the printer will print. False when the file
// cannot be written.
bool WriteDotsPng(const DotPicture& dots, const std::string& path);

} // namespace tallyx
