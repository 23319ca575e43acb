#include "commands/NvLogo.h"

#include <algorithm>
#include <cassert>
#include <initializer_list>

#include "commands/Bitmap.h"
#include "res/Messages.h"

namespace tallyx {

namespace {

uint8_t SlotByte(int slotIndex)
{
    assert(slotIndex >= 0 && slotIndex < kLogoSlotCount);
    return uint8_t(slotIndex + 1);
}

Bytes DownloadLogoHeader(uint8_t n, uint8_t x, uint8_t y)
{
    return {0x1C, 0x72, n, x, 0x00, y, 0x00};   // FS r  store logo n
}
constexpr std::initializer_list<uint8_t> kDownloadLogoTrailer = {0x1B, 0x40};   // ESC @

// The picture's raster behind `header` (which holds x and y) and `trailer`, assembled in
// the image command buffer and handed out whole.
template <class MakeHeader>
Result BuildImageCommand(const std::string& path, size_t headerLength, MakeHeader makeHeader,
                         std::initializer_list<uint8_t> trailer)
{
    if (path.empty()) return Message{kCaptionNvLogo, kMsgOpenBmpFirst};
    const RasterResult loaded = LoadBitmapRaster(path, headerLength);
    if (const Message* refusal = loaded.refusal()) return *refusal;
    const BitmapRaster& r = loaded.raster();
    const Bytes header = makeHeader(r.x, r.y);
    assert(header.size() == headerLength);
    std::copy(header.begin(), header.end(), g_imageCmdBuf.begin());
    std::copy(trailer.begin(), trailer.end(), g_imageCmdBuf.begin() + long(r.end));
    return Bytes(g_imageCmdBuf.begin(), g_imageCmdBuf.begin() + long(r.end + trailer.size()));
}

} // namespace

Result BuildTestPictureCommand(const std::string& path)
{
    return BuildImageCommand(
        path, 4, [](uint8_t x, uint8_t y) { return Bytes{0x1D, 0x2A, x, y}; },   // GS *  define bit image
        {0x1D, 0x2F, 0x00,                                                      // GS /  print it, normal size
         0x0A, 0x0A});
}

Result BuildDownloadLogoCommand(const std::string& path, int slotIndex)
{
    const uint8_t n = SlotByte(slotIndex);
    return BuildImageCommand(path, 7, [n](uint8_t x, uint8_t y) { return DownloadLogoHeader(n, x, y); },
                             kDownloadLogoTrailer);
}

Result BuildDownloadLogoCommand(const DotPicture& dots, int slotIndex)
{
    const uint8_t n = SlotByte(slotIndex);
    const uint64_t dataLength = 8 * uint64_t((dots.width + 7) / 8) * uint64_t((dots.height + 7) / 8);
    if (7 + dataLength > kImageCmdLimit) return Message{kCaptionApp, kMsgBmpTooLarge};
    if (dots.width > kBitmapMaxSide || dots.height > kBitmapMaxSide) return Message{kCaptionApp, kMsgBmpTooWide};
    const ColumnDots columns = ToColumnDots(dots);
    Bytes out = DownloadLogoHeader(n, columns.x, columns.y);
    out.insert(out.end(), columns.data.begin(), columns.data.end());
    out.insert(out.end(), kDownloadLogoTrailer.begin(), kDownloadLogoTrailer.end());
    return out;
}

Bytes BuildPrintLogoCommand(int slotIndex, int modeIndex)
{
    assert(modeIndex >= 0 && modeIndex < kLogoModeCount);
    return {
        0x1B, 0x61, 0x01,                                          // ESC a  centre
        0x1C, 0x70, SlotByte(slotIndex), uint8_t(0x30 + modeIndex), // FS p   print logo n in mode m
        0x1B, 0x61, 0x00,                                          // ESC a  back to the left
    };
}

// A slot is cleared by storing the smallest logo in it: x = 1, y = 1.
Bytes BuildClearLogoCommand(int slotIndex)
{
    Bytes out{0x1C, 0x72, SlotByte(slotIndex), 0x01, 0x00, 0x01, 0x00};
    out.insert(out.end(), 8, 0x00);
    out.push_back(0x01);
    return out;
}

} // namespace tallyx
