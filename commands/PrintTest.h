#pragma once
// The print-test box's Send: the text (or its hexadecimal bytes) checked and built.
#include <string_view>

#include "res/Types.h"

namespace tallyx {

inline constexpr size_t kPrintTestMaxBytes = 24574;

// text holds GBK bytes as the box shows them.
Result BuildPrintTestCommand(std::string_view text, bool hexMode);

} // namespace tallyx
