#include "link/Poll.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <poll.h>
#include <unistd.h>

namespace tallyx {

namespace {
// A stop request is noticed within this long.
constexpr int64_t kStopSliceMs = 10;
} // namespace

int64_t SteadyNowMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

int PollFor(int fd, short events, int timeoutMs, const std::stop_token& stop)
{
    const int64_t deadline = SteadyNowMs() + timeoutMs;
    for (;;) {
        if (stop.stop_requested()) return 0;
        pollfd p{fd, events, 0};
        const int64_t left = std::max<int64_t>(0, deadline - SteadyNowMs());
        const int r = ::poll(&p, 1, int(stop.stop_possible() ? std::min(left, kStopSliceMs) : left));
        if (r < 0 && errno == EINTR) continue;
        if (r == 0 && SteadyNowMs() < deadline) continue;
        return r > 0 ? p.revents : 0;
    }
}

size_t ReadWithin(int fd, uint8_t* data, size_t capacity, int timeoutMs, std::stop_token stop)
{
    if (!(PollFor(fd, POLLIN, timeoutMs, stop) & POLLIN)) return 0;
    size_t got = 0;
    while (got < capacity) {
        const ssize_t r = ::read(fd, data + got, capacity - got);
        if (r > 0) got += size_t(r);
        else if (r < 0 && errno == EINTR) continue;
        else break;   // nothing more now (EAGAIN), or the device is gone
    }
    return got;
}

} // namespace tallyx
