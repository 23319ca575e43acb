#include "res/VoiceTemplate.h"

#include <array>

#include "res/MaintenanceMessages.h"
#include "res/VoiceIds.h"

namespace tallyx {

namespace {
using K = ControlKind;
using namespace id::voice;

constexpr std::string_view kAmountText = "金额数字:";

using tpl::Button;

constexpr std::array kControls{
    Button(kPrevious, "上一语音", {18, 18, 66, 20}),
    Button(kNext, "下一语音", {102, 18, 66, 20}),
    ControlDef{0, K::StaticText, kAmountText, kAmountText, {18, 62, 44, 10}},
    ControlDef{kAmount, K::Edit, {}, kAmountText, {64, 60, 104, 13}},
    Button(kAmountTest, "RMB测试发音", {58, 90, 70, 20}),
};

constexpr DialogTemplate kVoice{140, kCaptionVoiceWindow, 10, 186, 129, kControls};
} // namespace

const DialogTemplate& VoiceTemplate() { return kVoice; }

} // namespace tallyx
