#pragma once
// The code page dialog's three commands.
#include <optional>

#include "res/Types.h"

namespace tallyx {

// 1F 1B 1F FF n 0A 0A: store the code page of list position `position` (0 to 74).
// Nothing outside the list: no position, no command.
std::optional<Bytes> BuildSetCodePageCommand(int position);
// The current code page as a character chart, normal and enlarged, then a cut (277 bytes).
Bytes BuildCodePageChart();
// The printer's self-test page, as the main window's button prints it.
Bytes BuildCodePageSelfTest();

} // namespace tallyx
