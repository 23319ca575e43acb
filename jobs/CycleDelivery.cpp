#include "jobs/CycleDelivery.h"

#include <mutex>

#include "link/CutCycleNet.h"
#include "res/Combos.h"

namespace tallyx {

CycleTarget CaptureCycleTarget(Link& link, const std::string& portText)
{
    std::lock_guard lock(link.m_lock);
    return CycleTarget{portText, link.g_printerIp, link.m_tcpPort};
}

DeliverCycle MakeCycleDelivery(Link& link, Platform& platform, CycleTarget target)
{
    if (target.portText == combo::kPorts[combo::kPortEthernetIndex]) {
        return [&platform, target](const Bytes& cycle, std::stop_token stop) {
            return SendCutCycleNet(platform, target.printerIp, target.tcpPort, cycle, stop);
        };
    }
    // The delivery rule with the port kind of the start; the link reports its own faults.
    return [&link, portText = target.portText](const Bytes& cycle, std::stop_token) {
        link.Deliver(portText, cycle.data(), cycle.size(), Delivery::Direct);
        return Outcome{};
    };
}

} // namespace tallyx
