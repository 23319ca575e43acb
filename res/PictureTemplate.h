#pragma once
// The picture preview window's frame and its paper list.
#include <array>
#include <string_view>

#include "res/DialogTemplate.h"
#include "res/PictureIds.h"

namespace tallyx::picture {

// Where the dots are shown; the widget is made by the window.
// Wide enough for 576 dots and a scroll bar at one pixel a dot.
inline constexpr DluRect kPreviewRect{156, 8, 356, 204};
// Paper widths in millimetres, as listed; index 1 (80 mm) at first.
inline constexpr std::array<std::string_view, 2> kPaperItems{"58 mm", "80 mm"};
inline constexpr int kPaper80Index = 1;

} // namespace tallyx::picture
