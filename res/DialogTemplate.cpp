#include "res/DialogTemplate.h"

#include <array>

#include "res/Types.h"

namespace tallyx {

namespace {
constexpr std::array<std::string_view, 5> kFontFamilies{
    "SimSun", "宋体", "NSimSun", "WenQuanYi Zen Hei", "Noto Sans CJK SC",
};
} // namespace

const ControlDef* FindControl(const DialogTemplate& dialog, int id)
{
    return FindRow(dialog.controls, &ControlDef::id, id);
}

std::span<const std::string_view> DialogFontFamilies() { return kFontFamilies; }

} // namespace tallyx
