#pragma once
// The program's icon as drawn from res/tallyx.svg at build time (tools/iconpixels), at each size
// a window hands the window manager.
#include <cstdint>
#include <span>

namespace tallyx {

struct AppIconPicture {
    int size;                 // width and height in pixels
    const uint32_t* pixels;   // size * size premultiplied ARGB values, one row after another
};

extern const std::span<const AppIconPicture> kAppIconPictures;

} // namespace tallyx
