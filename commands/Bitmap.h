#pragma once
// Monochrome bitmap files turned into the printer's column raster: eight vertically
// adjacent dots a byte, columns left to right, in the image command buffer.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "res/Types.h"

namespace tallyx {

inline constexpr size_t kImageCmdBufSize = 102400;
// Header plus column data may not pass this; the trailer comes on top of it.
inline constexpr size_t kImageCmdLimit = 16368;
// Wider or taller pictures would not fit the one-byte x and y of the image commands.
inline constexpr int32_t kBitmapMaxSide = 2040;
inline constexpr int kInkThreshold = 128;   // luminance below it prints black

// Where both image commands are assembled; one handler uses it at a time.
extern std::array<uint8_t, kImageCmdBufSize> g_imageCmdBuf;

struct BitmapRaster {
    uint8_t x = 0;           // width in bytes
    uint8_t y = 0;           // height in units of eight dots
    size_t dataLength = 0;   // 8 * x * y bytes from g_imageCmdBuf[h]
    size_t end = 0;          // h + dataLength: where the caller's trailer begins
};

// The raster, or the message that refuses the file.
class RasterResult : public OrRefusal<BitmapRaster> {
public:
    using OrRefusal::OrRefusal;
    const BitmapRaster& raster() const { return value(); }
};

// Reads the file at path (a file system name) afresh, checks it and writes its column
// raster into g_imageCmdBuf from index h, behind the caller's h header bytes.
// A refused file leaves the buffer as it was.
RasterResult LoadBitmapRaster(const std::string& path, size_t h);

} // namespace tallyx
