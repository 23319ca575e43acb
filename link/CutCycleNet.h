#pragma once
// The cutter test's network sender: one cut cycle on a connection of its own to the
// printer, retried while the printer does not take it, silent, and stoppable at once.
#include <stop_token>
#include <string>

#include "link/Outcome.h"
#include "link/Platform.h"
#include "res/Types.h"

namespace tallyx {

// How long one cycle keeps trying to reach the printer before it counts as not delivered.
inline constexpr int kCutNetRetryLimitMs = 10000;

// Sends `cycle` to printerIp:tcpPort: a new connection every 100 ms until one takes
// every byte, then a graceful close and the 300 ms pause between commands.
// Faults: AddressBlank (no usable address), NotReached (retryLimitMs passed), CutOff,
// Stopped (a stop was requested; every wait wakes for it).
Outcome SendCutCycleNet(Platform& platform, const std::string& printerIp, uint16_t tcpPort, const Bytes& cycle,
                        std::stop_token stop, int retryLimitMs = kCutNetRetryLimitMs);

} // namespace tallyx
