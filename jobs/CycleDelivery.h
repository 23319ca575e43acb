#pragma once
// Where the cutter run's cycles go: the link's delivery rule for the port kind captured
// at the start, or connections of their own to the printer's address over the network.
#include <string>

#include "jobs/CutterRun.h"
#include "link/Link.h"

namespace tallyx {

// How long one network cycle keeps trying to reach the printer before it counts as not
// delivered; a stop ends it at once.
inline constexpr int kCutNetRetryLimitMs = 10000;

// link must outlive the run.
DeliverCycle MakeCycleDelivery(Link& link, FixedTarget target, int netRetryLimitMs = kCutNetRetryLimitMs);

} // namespace tallyx
