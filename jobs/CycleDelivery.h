#pragma once
// Where the cutter run's cycles go: through the link's delivery rule on a serial or USB
// port, or on connections of their own to the printer's address over the network.
#include <string>

#include "jobs/CutterRun.h"
#include "link/Link.h"

namespace tallyx {

// Captured when the run starts and kept for the whole run.
struct CycleTarget {
    std::string portText;    // the port combo's text
    std::string printerIp;   // the address saved by the network connect
    uint16_t tcpPort = kPrinterTcpPort;
};

// The target as the link stands now (read under its lock).
CycleTarget CaptureCycleTarget(Link& link, const std::string& portText);

// link and platform must outlive the run.
DeliverCycle MakeCycleDelivery(Link& link, Platform& platform, CycleTarget target);

} // namespace tallyx
