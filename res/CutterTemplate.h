#pragma once
// "Cutter Check" (template 138): its controls in tab order, positions in dialog units.
#include "res/MainWindowControls.h"

namespace tallyx {
const DialogTemplate& CutterTemplate();
} // namespace tallyx
