#pragma once
// The barcode dialog (template 133): its controls in tab order, positions in dialog units.
#include "res/MainWindowControls.h"

namespace tallyx {

const DialogTemplate& BarCodeTemplate();

} // namespace tallyx
