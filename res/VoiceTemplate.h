#pragma once
// "语音芯片测试" (template 140): its controls in tab order, positions in dialog units.
#include "res/MainWindowControls.h"

namespace tallyx {
const DialogTemplate& VoiceTemplate();
} // namespace tallyx
