#pragma once
// What a dialog template is made of: one row per control, in tab order, positions in
// dialog units. Each window's table lives in res/ beside it.
#include <cstdint>
#include <span>
#include <string_view>

namespace tallyx {

enum class ControlKind {
    StaticText,
    GroupBox,
    PushButton,
    CheckBox,
    EditableCombo,   // drop-down with an edit field: the operator may type any text
    ListCombo,       // drop-down list: one of its items
    Edit,
    MultiLineEdit,
    IpAddress,
    Icon,
};

namespace ctl {
inline constexpr uint32_t kAlignCentre = 1u << 0;
inline constexpr uint32_t kAlignRight = 1u << 1;
inline constexpr uint32_t kFlat = 1u << 2;
inline constexpr uint32_t kScrollBars = 1u << 3;    // both scroll bars, no wrapping
inline constexpr uint32_t kWantReturn = 1u << 4;    // Return makes a new line
inline constexpr uint32_t kDefault = 1u << 5;       // the default push button
inline constexpr uint32_t kCommandSet = 1u << 6;    // enabled only while connected
} // namespace ctl

// x, y, width, height in dialog units. A combo's height includes its drop list.
struct DluRect {
    int x, y, width, height;
};

struct ControlDef {
    int id;                        // 0: a label or frame no code refers to
    ControlKind kind;
    std::string_view label;        // text shown on the control
    std::string_view name;         // what assistive tools call it: the label beside a field
    DluRect rect;
    uint32_t flags = 0;
};

// The rows most templates are made of: a label no code refers to, named by its text; a
// field named after the label beside it; a button named by its own label.
namespace tpl {
constexpr ControlDef Label(std::string_view text, DluRect r) { return {0, ControlKind::StaticText, text, text, r}; }
constexpr ControlDef Field(int id, ControlKind kind, std::string_view name, DluRect r, uint32_t flags = 0)
{
    return {id, kind, {}, name, r, flags};
}
constexpr ControlDef Button(int id, std::string_view label, DluRect r)
{
    return {id, ControlKind::PushButton, label, label, r};
}
} // namespace tpl

struct DialogTemplate {
    int resourceId;
    std::string_view caption;
    int fontPoints;
    int width, height;             // client area, dialog units
    std::span<const ControlDef> controls;
};

const ControlDef* FindControl(const DialogTemplate& dialog, int id);

// Template fonts: "宋体" (SimSun), with CJK families present on Linux desktops after it.
std::span<const std::string_view> DialogFontFamilies();

// The dialogs (res/DialogTemplates.cpp).
const DialogTemplate& NvLogoTemplate();
const DialogTemplate& PictureTemplate();
const DialogTemplate& BarCodeTemplate();
const DialogTemplate& QrTemplate();
const DialogTemplate& Pdf417Template();
const DialogTemplate& CodePageTemplate();
const DialogTemplate& CutterTemplate();
const DialogTemplate& VoiceTemplate();

} // namespace tallyx
