#include "res/Pdf417Template.h"

#include <array>

#include "res/Pdf417Ids.h"
#include "res/SymbolMessages.h"

namespace tallyx {
namespace {
using K = ControlKind;
using namespace id::pdf417;

constexpr std::string_view kColumnsLabel = "Data region:";
constexpr std::string_view kRowsLabel = "Rows:";
constexpr std::string_view kModuleWidthLabel = "Bar width:";
constexpr std::string_view kRowHeightLabel = "Row height:";
constexpr std::string_view kOptionsLabel = "Select Options:";
constexpr std::string_view kCorrectionLabel = "Correction Level: ";
// No label of their own: named after the correction mode that shows them.
constexpr std::string_view kLevelName = "Level Setting";
constexpr std::string_view kRatioName = "Ratio Setting";
constexpr std::string_view kContentName = "Content";

using tpl::Label;
// Every combo takes typed text: the dialog reads the text, not the selection.
constexpr ControlDef Combo(int id, std::string_view name, DluRect r) { return {id, K::EditableCombo, {}, name, r}; }

constexpr std::array kControls{
    Label(kColumnsLabel, {10, 10, 58, 10}),
    Combo(kColumns, kColumnsLabel, {70, 8, 62, 100}),
    Label(kRowsLabel, {146, 10, 50, 10}),
    Combo(kRows, kRowsLabel, {198, 8, 72, 100}),
    Label(kModuleWidthLabel, {10, 28, 58, 10}),
    Combo(kModuleWidth, kModuleWidthLabel, {70, 26, 62, 80}),
    Label(kRowHeightLabel, {146, 28, 50, 10}),
    Combo(kRowHeight, kRowHeightLabel, {198, 26, 72, 100}),
    Label(kOptionsLabel, {10, 46, 58, 10}),
    Combo(kOptions, kOptionsLabel, {70, 44, 62, 40}),
    Label(kCorrectionLabel, {10, 64, 58, 10}),
    Combo(kCorrectionMode, kCorrectionLabel, {70, 62, 62, 40}),
    Combo(kLevel, kLevelName, {146, 62, 72, 100}),
    Combo(kRatio, kRatioName, {146, 62, 72, 100}),
    ControlDef{kContent, K::MultiLineEdit, {}, kContentName, {10, 82, 260, 50}, ctl::kScrollBars | ctl::kWantReturn},
    ControlDef{kSend, K::PushButton, "Send Data", "Send Data", {100, 137, 80, 16}},
};

constexpr DialogTemplate kPdf417{137, kCaptionPdf417, 10, 280, 158, kControls};
} // namespace

const DialogTemplate& Pdf417Template() { return kPdf417; }

} // namespace tallyx
