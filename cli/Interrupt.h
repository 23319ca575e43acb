#pragma once
// Ctrl-C while a command waits (a cutter run, a status watch): the waiting thread turns it
// into a stop.
#include <signal.h>

#include <atomic>

namespace tallyx::cli {

inline std::atomic<bool> g_interrupted{false};
static_assert(std::atomic<bool>::is_always_lock_free, "read and written from a signal handler");

extern "C" inline void OnInterrupt(int) { g_interrupted.store(true); }

// SIGINT handled for the lifetime of the object, the previous handling restored after.
class InterruptGuard {
public:
    InterruptGuard()
    {
        g_interrupted = false;
        struct sigaction action{};
        action.sa_handler = OnInterrupt;
        sigemptyset(&action.sa_mask);
        ::sigaction(SIGINT, &action, &m_previous);
    }
    ~InterruptGuard() { ::sigaction(SIGINT, &m_previous, nullptr); }
    InterruptGuard(const InterruptGuard&) = delete;
    InterruptGuard& operator=(const InterruptGuard&) = delete;

private:
    struct sigaction m_previous{};
};

} // namespace tallyx::cli
