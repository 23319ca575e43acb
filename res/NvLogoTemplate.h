#pragma once
// The NV logo dialog's preview frame and the items of its two combos, which the command
// line offers as well.
#include <array>
#include <string_view>

#include "res/DialogTemplate.h"
#include "res/NvLogoIds.h"

namespace tallyx {

namespace nvlogo {
// The black frame the preview is drawn in; its picture widget is made by the dialog.
inline constexpr DluRect kPreviewRect{106, 8, 157, 145};

// Selection index i is slot i + 1 and print mode byte 0x30 + i.
inline constexpr std::array<std::string_view, 5> kSlotItems{"1", "2", "3", "4", "5"};
inline constexpr std::array<std::string_view, 4> kModeItems{"正常", "倍宽", "倍高", "倍宽倍高"};
} // namespace nvlogo

} // namespace tallyx
