#include "jobs/CycleDelivery.h"

#include <mutex>

namespace tallyx {

FixedTarget CaptureCycleTarget(Link& link, const std::string& portText, const std::string& baudText)
{
    std::lock_guard lock(link.m_lock);
    return FixedTarget{portText, baudText, link.g_printerIp, link.m_tcpPort};
}

DeliverCycle MakeCycleDelivery(Link& link, FixedTarget target, int netRetryLimitMs)
{
    return [&link, target = std::move(target), netRetryLimitMs](const Bytes& cycle, std::stop_token stop) {
        return link.DeliverFixed(target, cycle.data(), cycle.size(), stop, netRetryLimitMs);
    };
}

} // namespace tallyx
