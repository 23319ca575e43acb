#include "res/BarCodeTemplate.h"

#include <array>

#include "res/BarCodeIds.h"
#include "res/SymbolMessages.h"

namespace tallyx {
namespace {
using K = ControlKind;
using namespace id::barcode;

constexpr std::string_view kHriPositionLabel = "识别码:";
constexpr std::string_view kHriFontLabel = "识别码字体:";
constexpr std::string_view kTypeLabel = "条码类型:";
constexpr std::string_view kHeightLabel = "条码高度:";
constexpr std::string_view kWidthLabel = "条码宽度:";
constexpr std::string_view kMarginLabel = "条码左边距:";
constexpr std::string_view kHintLabel = "提示:";
constexpr std::string_view kDataLabel = "输入框:";

using tpl::Field;
using tpl::Label;

// Two columns of label and field, then the hint, the data and the button across the dialog.
constexpr std::array kControls{
    Label(kHriPositionLabel, {10, 12, 48, 10}),
    Field(kHriPosition, K::ListCombo, kHriPositionLabel, {60, 10, 66, 70}),
    Label(kHriFontLabel, {138, 12, 50, 10}),
    Field(kHriFont, K::ListCombo, kHriFontLabel, {190, 10, 66, 60}),
    Label(kTypeLabel, {10, 32, 48, 10}),
    Field(kType, K::ListCombo, kTypeLabel, {60, 30, 66, 120}),
    Label(kHeightLabel, {138, 32, 50, 10}),
    Field(kHeight, K::Edit, kHeightLabel, {190, 30, 66, 14}, ctl::kAlignCentre),
    Label(kWidthLabel, {10, 52, 48, 10}),
    Field(kWidth, K::Edit, kWidthLabel, {60, 50, 66, 14}, ctl::kAlignCentre),
    Label(kMarginLabel, {138, 52, 50, 10}),
    Field(kMargin, K::Edit, kMarginLabel, {190, 50, 66, 14}, ctl::kAlignCentre),
    Label(kHintLabel, {10, 76, 30, 10}),
    ControlDef{kHint, K::StaticText, kHintUpcA, kHintLabel, {42, 76, 214, 20}},
    Label(kDataLabel, {10, 104, 48, 10}),
    Field(kData, K::Edit, kDataLabel, {10, 116, 246, 14}),
    ControlDef{kPrint, K::PushButton, "条码打印", "条码打印", {93, 146, 80, 18}},
};

constexpr DialogTemplate kBarCode{133, kCaptionBarCode, 10, 266, 177, kControls};
} // namespace

const DialogTemplate& BarCodeTemplate() { return kBarCode; }

} // namespace tallyx
