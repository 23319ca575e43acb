#include "res/NvLogoTemplate.h"

#include "res/Messages.h"

namespace tallyx {

namespace {
using K = ControlKind;
using namespace nvlogo;
using namespace id::nvlogo;

constexpr std::string_view kSlotLabel = "Logo位置:";
constexpr std::string_view kModeName = "Logo打印方式";   // no label on screen: named for assistive tools

using tpl::Button;

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
} // namespace

const DialogTemplate& NvLogoTemplate() { return kNvLogo; }

} // namespace tallyx
