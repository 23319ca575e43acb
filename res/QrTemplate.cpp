#include "res/QrTemplate.h"

#include <array>

#include "res/QrIds.h"
#include "res/SymbolMessages.h"

namespace tallyx {
namespace {
using K = ControlKind;
using namespace id::qr;

constexpr std::string_view kSizeLabel = "放大倍数:";
constexpr std::string_view kEccLabel = "纠错级别:";
constexpr std::string_view kContentLabel = "内容输入:";

using tpl::Label;

constexpr std::array kControls{
    Label(kSizeLabel, {10, 12, 40, 10}),
    ControlDef{kModuleSize, K::ListCombo, {}, kSizeLabel, {52, 10, 60, 110}},
    Label(kEccLabel, {130, 12, 40, 10}),
    ControlDef{kEcc, K::ListCombo, {}, kEccLabel, {172, 10, 70, 70}},
    Label(kContentLabel, {10, 32, 50, 10}),
    ControlDef{kContent, K::MultiLineEdit, {}, kContentLabel, {10, 44, 263, 98}, ctl::kScrollBars | ctl::kWantReturn},
    ControlDef{kSend, K::PushButton, "Send Data", "Send Data", {101, 149, 80, 16}},
};

constexpr DialogTemplate kQr{135, kCaptionQr, 10, 283, 173, kControls};
} // namespace

const DialogTemplate& QrTemplate() { return kQr; }

} // namespace tallyx
