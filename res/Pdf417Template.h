#pragma once
// The PDF417 dialog (template 137): its controls in tab order, positions in dialog units.
// Combos 1018 and 1004 share one place; the dialog shows one of them at a time.
#include "res/MainWindowControls.h"

namespace tallyx {

const DialogTemplate& Pdf417Template();

} // namespace tallyx
