// The dialogs' templates: their controls in tab order, positions in dialog units.
#include "res/DialogTemplate.h"

#include <array>

#include "res/BarCodeIds.h"
#include "res/CodePageIds.h"
#include "res/CutterIds.h"
#include "res/Messages.h"
#include "res/NvLogoTemplate.h"
#include "res/Pdf417Ids.h"
#include "res/PictureTemplate.h"
#include "res/QrIds.h"
#include "res/VoiceIds.h"

namespace tallyx {
namespace {
using K = ControlKind;
using tpl::Button;
using tpl::Field;
using tpl::Label;
} // namespace

// The NV logo dialog (template 129)
namespace nvlogo_dlg {
using namespace nvlogo;
using namespace id::nvlogo;

constexpr std::string_view kSlotLabel = "Logo位置:";
constexpr std::string_view kModeName = "Logo打印方式";   // no label on screen: named for assistive tools

// The buttons in a column beside the preview, each command next to the choice it reads.
constexpr std::array kControls{
    Button(kOpenBmp, "打开BMP", {10, 10, 86, 16}),
    Button(kTestPicture, "测试图片", {10, 32, 86, 16}),
    ControlDef{0, K::StaticText, kSlotLabel, kSlotLabel, {10, 59, 42, 10}},
    ControlDef{kSlot, K::ListCombo, {}, kSlotLabel, {54, 57, 42, 80}},
    Button(kDownload, "下载logo", {10, 76, 86, 16}),
    Button(kClear, "清除logo", {10, 98, 86, 16}),
    Button(kPrint, "打印logo", {10, 120, 86, 16}),
    ControlDef{kMode, K::ListCombo, {}, kModeName, {10, 140, 86, 70}},
};

constexpr DialogTemplate kNvLogo{129, kCaptionNvLogo, 10, 270, 166, kControls};
} // namespace nvlogo_dlg

const DialogTemplate& NvLogoTemplate() { return nvlogo_dlg::kNvLogo; }

// The picture preview window (template 140): the choices on the left, the dots beside them.
namespace picture_dlg {
using namespace id::picture;

constexpr std::string_view kMethodLabel = "抖动方式:";
constexpr std::string_view kPaperLabel = "纸宽:";
constexpr std::string_view kWidthLabel = "宽度(点):";
constexpr std::string_view kCommandLabel = "发送命令:";
constexpr std::string_view kDarknessLabel = "浓度(-100~100):";

constexpr std::array kControls{
    Label(kMethodLabel, {8, 10, 56, 10}),
    Field(kMethod, K::ListCombo, kMethodLabel, {66, 8, 84, 120}),
    Label(kPaperLabel, {8, 28, 56, 10}),
    Field(kPaper, K::ListCombo, kPaperLabel, {66, 26, 84, 60}),
    Label(kWidthLabel, {8, 46, 56, 10}),
    Field(kWidth, K::Edit, kWidthLabel, {66, 44, 84, 13}),
    Label(kCommandLabel, {8, 64, 56, 10}),
    Field(kCommand, K::ListCombo, kCommandLabel, {66, 62, 84, 60}),
    Label(kDarknessLabel, {8, 82, 56, 10}),
    Field(kDarkness, K::Edit, kDarknessLabel, {66, 80, 84, 13}),
    ControlDef{kSize, K::StaticText, {}, {}, {8, 100, 142, 30}},
    ControlDef{kSend, K::PushButton, kMsgPictureSend, kMsgPictureSend, {8, 196, 68, 16}, ctl::kDefault},
    Button(kCancel, "取消", {82, 196, 68, 16}),
};

constexpr DialogTemplate kPicture{140, kCaptionPicture, 10, 520, 220, kControls};
} // namespace picture_dlg

const DialogTemplate& PictureTemplate() { return picture_dlg::kPicture; }

// The barcode dialog (template 133)
namespace barcode_dlg {
using namespace id::barcode;

constexpr std::string_view kHriPositionLabel = "识别码:";
constexpr std::string_view kHriFontLabel = "识别码字体:";
constexpr std::string_view kTypeLabel = "条码类型:";
constexpr std::string_view kHeightLabel = "条码高度:";
constexpr std::string_view kWidthLabel = "条码宽度:";
constexpr std::string_view kMarginLabel = "条码左边距:";
constexpr std::string_view kHintLabel = "提示:";
constexpr std::string_view kDataLabel = "输入框:";

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
} // namespace barcode_dlg

const DialogTemplate& BarCodeTemplate() { return barcode_dlg::kBarCode; }

// The QR code dialog (template 135)
namespace qr_dlg {
using namespace id::qr;

constexpr std::string_view kSizeLabel = "放大倍数:";
constexpr std::string_view kEccLabel = "纠错级别:";
constexpr std::string_view kContentLabel = "内容输入:";

constexpr std::array kControls{
    Label(kSizeLabel, {10, 12, 40, 10}),
    ControlDef{kModuleSize, K::ListCombo, {}, kSizeLabel, {52, 10, 60, 110}},
    Label(kEccLabel, {130, 12, 40, 10}),
    ControlDef{kEcc, K::ListCombo, {}, kEccLabel, {172, 10, 70, 70}},
    Label(kContentLabel, {10, 32, 50, 10}),
    ControlDef{kContent, K::MultiLineEdit, {}, kContentLabel, {10, 44, 263, 98}, ctl::kScrollBars | ctl::kWantReturn},
    ControlDef{kSend, K::PushButton, "Send Data", "Send Data", {101, 149, 80, 16}},
};

constexpr DialogTemplate kQr{135, kTitleQr, 10, 283, 173, kControls};
} // namespace qr_dlg

const DialogTemplate& QrTemplate() { return qr_dlg::kQr; }

// The PDF417 dialog (template 137)
// Combos 1018 and 1004 share one place; the dialog shows one of them at a time.
namespace pdf417_dlg {
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

constexpr DialogTemplate kPdf417{137, kTitlePdf417, 10, 280, 158, kControls};
} // namespace pdf417_dlg

const DialogTemplate& Pdf417Template() { return pdf417_dlg::kPdf417; }

// "Set CodePage" (template 131)
namespace codepage_dlg {
using namespace id::codepage;

constexpr std::string_view kListName = "代码页";   // no label on screen: named for assistive tools

constexpr std::array kControls{
    ControlDef{kList, K::EditableCombo, {}, kListName, {15, 15, 220, 130}},
    Button(kSet, "Set CodePage", {15, 50, 105, 20}),
    Button(kPrintChart, "Print Current CodePage", {130, 50, 105, 20}),
    Button(kSelfTest, "Print SelfTest", {15, 90, 105, 20}),
};

constexpr DialogTemplate kCodePage{131, kCaptionCodePage, 10, 250, 155, kControls};
} // namespace codepage_dlg

const DialogTemplate& CodePageTemplate() { return codepage_dlg::kCodePage; }

// "Cutter Check" (template 138)
namespace cutter_dlg {
using namespace id::cutter;

constexpr std::string_view kCountText = "测试次数:";
constexpr std::string_view kDelayText = "两刀之间的延时:";
constexpr std::string_view kStartText = "开始测试";
constexpr std::string_view kProgressName = "进度";

constexpr std::array kControls{
    ControlDef{kCountLabel, K::StaticText, kCountText, kCountText, {8, 16, 80, 10}, ctl::kAlignRight},
    ControlDef{kCount, K::Edit, {}, kCountText, {92, 14, 100, 13}},
    ControlDef{kDelayLabel, K::StaticText, kDelayText, kDelayText, {8, 38, 80, 10}, ctl::kAlignRight},
    ControlDef{kDelay, K::Edit, {}, kDelayText, {92, 36, 100, 13}},
    ControlDef{kStart, K::PushButton, kStartText, kStartText, {74, 60, 70, 18}},
    ControlDef{kProgress, K::StaticText, {}, kProgressName, {8, 86, 201, 10}, ctl::kAlignCentre},
};

constexpr DialogTemplate kCutter{138, kCaptionCutterWindow, 10, 217, 106, kControls};
} // namespace cutter_dlg

const DialogTemplate& CutterTemplate() { return cutter_dlg::kCutter; }

// "语音芯片测试" (template 140)
namespace voice_dlg {
using namespace id::voice;

constexpr std::string_view kAmountText = "金额数字:";

constexpr std::array kControls{
    Button(kPrevious, "上一语音", {18, 18, 66, 20}),
    Button(kNext, "下一语音", {102, 18, 66, 20}),
    ControlDef{0, K::StaticText, kAmountText, kAmountText, {18, 62, 44, 10}},
    ControlDef{kAmount, K::Edit, {}, kAmountText, {64, 60, 104, 13}},
    Button(kAmountTest, "RMB测试发音", {58, 90, 70, 20}),
};

constexpr DialogTemplate kVoice{140, kCaptionVoiceWindow, 10, 186, 129, kControls};
} // namespace voice_dlg

const DialogTemplate& VoiceTemplate() { return voice_dlg::kVoice; }

} // namespace tallyx
