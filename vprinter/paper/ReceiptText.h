#pragma once
// The text a receipt printed, line by line, as read from its laid-out blocks: for screen
// readers and tests, not for display.
#include <string>
#include <vector>

#include "vprinter/paper/Receipt.h"

namespace tallyx::vprinter {

// One string per text line, its characters left to right (UTF-8); a gap of a cell or
// more between characters reads as one space. Pictures, symbols and feeds give no line.
std::vector<std::string> ReceiptTextLines(const Receipt& receipt);

} // namespace tallyx::vprinter
