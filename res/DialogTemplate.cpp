#include "res/DialogTemplate.h"

#include <array>

namespace tallyx {

namespace {
constexpr std::array<std::string_view, 5> kFontFamilies{
    "SimSun", "宋体", "NSimSun", "WenQuanYi Zen Hei", "Noto Sans CJK SC",
};
} // namespace

const ControlDef* FindControl(const DialogTemplate& dialog, int id)
{
    for (const auto& c : dialog.controls)
        if (c.id == id) return &c;
    return nullptr;
}

std::span<const std::string_view> DialogFontFamilies() { return kFontFamilies; }

} // namespace tallyx
