#pragma once
// "Set CodePage" (template 131): its controls in tab order, positions in dialog units.
#include "res/MainWindowControls.h"

namespace tallyx {
const DialogTemplate& CodePageTemplate();
} // namespace tallyx
