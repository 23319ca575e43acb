#include "res/CodePageTemplate.h"

#include <array>

#include "res/CodePageIds.h"
#include "res/MaintenanceMessages.h"

namespace tallyx {

namespace {
using K = ControlKind;
using namespace id::codepage;

constexpr std::string_view kListName = "代码页";   // no label on screen: named for assistive tools

using tpl::Button;

constexpr std::array kControls{
    ControlDef{kList, K::EditableCombo, {}, kListName, {15, 15, 220, 130}},
    Button(kSet, "Set CodePage", {15, 50, 105, 20}),
    Button(kPrintChart, "Print Current CodePage", {130, 50, 105, 20}),
    Button(kSelfTest, "Print SelfTest", {15, 90, 105, 20}),
};

constexpr DialogTemplate kCodePage{131, kCaptionCodePage, 10, 250, 155, kControls};
} // namespace

const DialogTemplate& CodePageTemplate() { return kCodePage; }

} // namespace tallyx
