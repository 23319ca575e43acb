#pragma once
// A client of the printer's TCP port on 127.0.0.1, with bounded waits.
#include <chrono>
#include <cstdint>
#include <string_view>
#include <thread>

#include "vprinter/device/PrinterState.h"

namespace tallyx::vprinter::test {

inline constexpr int kClientWaitMs = 5000;

// A connected socket, or -1.
int ConnectLoopback(uint16_t port);
// True when every byte was written.
bool SendAll(int fd, std::string_view bytes);
// Reads until `want` bytes, end of stream, an error or the time limit.
Bytes ReadUpTo(int fd, size_t want, int timeoutMs = kClientWaitMs);

template <typename Pred>
bool WaitUntil(Pred done, int timeoutMs = kClientWaitMs)
{
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!done()) {
        if (std::chrono::steady_clock::now() > until) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

} // namespace tallyx::vprinter::test
