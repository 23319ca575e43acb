#pragma once
// The controls of the main window (template 102) and of the About box (template 100):
// one row per control, in tab order, positions in dialog units.
#include <span>

#include "res/DialogTemplate.h"

namespace tallyx {

const DialogTemplate& MainWindowTemplate();
const DialogTemplate& AboutTemplate();

// Buttons enabled by a connect and disabled by a disconnect (the network save button is switched apart).
std::span<const int> CommandSetIds();

} // namespace tallyx
