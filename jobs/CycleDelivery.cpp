#include "jobs/CycleDelivery.h"

namespace tallyx {

DeliverCycle MakeCycleDelivery(Link& link, FixedTarget target, int netRetryLimitMs)
{
    return [&link, target = std::move(target), netRetryLimitMs](const Bytes& cycle, std::stop_token stop) {
        return link.DeliverFixed(target, cycle, stop, netRetryLimitMs);
    };
}

} // namespace tallyx
