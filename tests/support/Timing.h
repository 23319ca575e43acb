#pragma once
// Elapsed wall time for the tests that bound how long the link or a job may take.
#include <chrono>
#include <cstdint>

namespace tallyx::test {

using Clock = std::chrono::steady_clock;

inline int64_t MsSince(Clock::time_point start)
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

// How long `work` took, in ms.
template <class F>
int64_t TimedMs(F&& work)
{
    const auto start = Clock::now();
    work();
    return MsSince(start);
}

} // namespace tallyx::test
