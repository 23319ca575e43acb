#include "link/CutCycleNet.h"

#include <arpa/inet.h>

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace tallyx {

namespace {
constexpr int kRetryStepMs = 100;
constexpr int kWaitSliceMs = 20;    // socket waits are cut short so a stop is seen at once
constexpr int kClosePauseMs = 300;

// False when a stop was requested before the time was up.
bool PauseUnlessStopped(std::stop_token stop, int ms)
{
    std::mutex m;
    std::condition_variable_any cv;
    std::unique_lock lock(m);
    cv.wait_for(lock, stop, std::chrono::milliseconds(ms), [] { return false; });
    return !stop.stop_requested();
}

class Attempt {
public:
    Attempt(Platform& p, std::stop_token stop, int64_t deadline) : m_p(p), m_stop(stop), m_deadline(deadline) {}

    bool TimeLeft() { return !m_stop.stop_requested() && m_p.NowMs() < m_deadline; }

    // One connection: connected and every byte taken, or why not.
    Outcome Send(int fd, uint32_t address, uint16_t port, const Bytes& data)
    {
        ConnectState state = m_p.SocketConnect(fd, address, port);
        while (state == ConnectState::Pending && TimeLeft()) state = m_p.SocketWaitConnected(fd, kWaitSliceMs);
        if (m_stop.stop_requested()) return {LinkFault::Stopped};
        if (state != ConnectState::Connected) return {LinkFault::NotReached};
        size_t sent = 0;
        while (sent < data.size()) {
            const long n = m_p.SocketSend(fd, data.data() + sent, data.size() - sent);
            if (n > 0) {
                sent += size_t(n);
                continue;
            }
            // Part of a cycle may already be printed: another connection would repeat it.
            if (n == Platform::kSendFailed) return {sent > 0 ? LinkFault::CutOff : LinkFault::NotReached};
            if (!TimeLeft()) return {m_stop.stop_requested() ? LinkFault::Stopped : LinkFault::NotReached};
            m_p.SocketWaitWritable(fd, kWaitSliceMs);
        }
        return {};
    }

private:
    Platform& m_p;
    std::stop_token m_stop;
    int64_t m_deadline;
};
} // namespace

Outcome SendCutCycleNet(Platform& platform, const std::string& printerIp, uint16_t tcpPort, const Bytes& cycle,
                        std::stop_token stop, int retryLimitMs)
{
    in_addr parsed{};
    if (::inet_pton(AF_INET, printerIp.c_str(), &parsed) != 1) return {LinkFault::AddressBlank};
    const uint32_t address = ntohl(parsed.s_addr);

    Attempt attempt(platform, stop, platform.NowMs() + retryLimitMs);
    Outcome last{LinkFault::NotReached};
    for (;;) {
        if (stop.stop_requested()) return {LinkFault::Stopped};
        const OpenResult sock = platform.SocketOpen();
        if (sock.ok()) {
            last = attempt.Send(sock.fd, address, tcpPort, cycle);
            if (last.ok()) {
                // The pause between commands is spent letting the printer take the last bytes.
                const int64_t closeStart = platform.NowMs();
                platform.SocketCloseGracefully(sock.fd, kClosePauseMs);
                const int64_t left = kClosePauseMs - (platform.NowMs() - closeStart);
                if (left > 0) PauseUnlessStopped(stop, int(left));
                return last;
            }
            platform.SocketClose(sock.fd);
            if (last.fault != LinkFault::NotReached) return last;
        } else {
            last = {LinkFault::SocketFailed, sock.error};
        }
        if (!attempt.TimeLeft()) return stop.stop_requested() ? Outcome{LinkFault::Stopped} : last;
        if (!PauseUnlessStopped(stop, kRetryStepMs)) return {LinkFault::Stopped};
    }
}

} // namespace tallyx
