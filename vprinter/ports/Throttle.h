#pragma once
// A port slowed to so many bytes a second (a script's rate:B): it reads small chunks and
// waits after each for the time they take. Set from any thread; waits end on a stop.
#include <poll.h>

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <cstdint>

namespace tallyx::vprinter {

class Throttle {
public:
    void SetRate(int64_t bytesPerSecond) { m_rate = bytesPerSecond; }
    // How much to read at once: a twentieth of a second's worth, so a wait stays short.
    size_t Chunk(size_t most) const
    {
        const int64_t rate = m_rate;
        return rate > 0 ? std::clamp<size_t>(size_t(rate / 20), 1, most) : most;
    }
    // Waits the time `n` bytes take; false when `wakeFd` ended the wait (a stop).
    bool Took(size_t n, int wakeFd) const
    {
        const int64_t rate = m_rate;
        if (rate <= 0) return true;
        pollfd wake{wakeFd, POLLIN, 0};
        return ::poll(&wake, 1, int(int64_t(n) * 1000 / rate)) == 0;
    }

private:
    std::atomic<int64_t> m_rate{0};
};

} // namespace tallyx::vprinter
