#include "res/CutterTemplate.h"

#include <array>

#include "res/CutterIds.h"
#include "res/MaintenanceMessages.h"

namespace tallyx {

namespace {
using K = ControlKind;
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
} // namespace

const DialogTemplate& CutterTemplate() { return kCutter; }

} // namespace tallyx
