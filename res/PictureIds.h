#pragma once
// Control ids of the picture preview window (template 140), opened from the NV logo
// dialog for any picture that is not a BMP.
namespace tallyx::id::picture {

inline constexpr int kMethod = 1401;     // dithering method combo
inline constexpr int kPaper = 1402;      // paper width combo
inline constexpr int kWidth = 1403;      // width in dots
inline constexpr int kCommand = 1404;    // raster, column or graphics
inline constexpr int kDarkness = 1405;
inline constexpr int kSize = 1406;       // what will print: dots across and down, bands
inline constexpr int kPreview = 1407;    // the dots as they will print
inline constexpr int kSend = 1408;
inline constexpr int kCancel = 1409;

} // namespace tallyx::id::picture
