#pragma once
// The QR code dialog (template 135): its controls in tab order, positions in dialog units.
#include "res/MainWindowControls.h"

namespace tallyx {

const DialogTemplate& QrTemplate();

} // namespace tallyx
