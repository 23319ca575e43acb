#pragma once
// Bounded waits on a descriptor that give up at a stop request.
#include <cstddef>
#include <cstdint>
#include <stop_token>

namespace tallyx {

// The steady clock in milliseconds.
int64_t SteadyNowMs();
// poll() that resumes after a signal with the time that is left; the events that came (0: none).
int PollFor(int fd, short events, int timeoutMs, const std::stop_token& stop);
// Waits at most timeoutMs for bytes on a non-blocking device, then reads what is there.
size_t ReadWithin(int fd, uint8_t* data, size_t capacity, int timeoutMs, std::stop_token stop);

} // namespace tallyx
