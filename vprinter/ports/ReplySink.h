#pragma once
// Where a command's answer goes: back on the connection or terminal that asked.
#include <functional>

#include "res/Types.h"

namespace tallyx::vprinter {

using ReplyFn = std::function<void(const Bytes&)>;

} // namespace tallyx::vprinter
