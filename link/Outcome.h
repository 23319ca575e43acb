#pragma once
// What a link operation came to: a fault kind and the errno behind it. The link says
// what went wrong; the window and the command line decide what the operator reads.
#include "res/FaultKinds.h"

namespace tallyx {

struct Outcome {
    LinkFault fault = LinkFault::None;
    int error = 0;   // errno behind the fault, for a log line
    bool ok() const { return fault == LinkFault::None; }
    explicit operator bool() const { return ok(); }
};

} // namespace tallyx
