#include "vprinter/ports/TcpServer.h"

#include <algorithm>
#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace tallyx::vprinter {

namespace {

constexpr size_t kReadChunk = 4096;
// Connections held beyond this stay in the kernel's queue until there is room.
constexpr size_t kMaxWaiting = 4096;
// Connections kept for their status back beyond this: the oldest is closed.
constexpr size_t kMaxKept = 64;
// A client that does not read its replies cannot hold the printer longer than this.
constexpr int kSendTimeoutMs = 1000;

std::string ErrnoText(const std::string& what)
{
    return what + ": " + std::strerror(errno);
}

// False when the peer has gone or has stopped reading (nothing to report to).
bool SendAll(int fd, const uint8_t* data, size_t n)
{
    while (n > 0) {
        ssize_t sent = ::send(fd, data, n, MSG_NOSIGNAL);
        if (sent < 0 && errno == EINTR) continue;
        if (sent <= 0) return false;
        data += sent;
        n -= size_t(sent);
    }
    return true;
}

std::string PeerName(int fd)
{
    sockaddr_in peer{};
    socklen_t len = sizeof peer;
    char text[INET_ADDRSTRLEN] = "?";
    if (::getpeername(fd, reinterpret_cast<sockaddr*>(&peer), &len) != 0 ||
        !::inet_ntop(AF_INET, &peer.sin_addr, text, sizeof text))
        return "?";
    return std::string(text) + ":" + std::to_string(ntohs(peer.sin_port));
}

} // namespace

TcpServer::TcpServer(TcpOptions options, ByteSink sink, EndSink end)
    : m_options(std::move(options)), m_sink(std::move(sink)), m_end(std::move(end))
{
}

TcpServer::~TcpServer()
{
    Stop();
}

bool TcpServer::Start(std::string* error)
{
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(m_options.port);
    if (::inet_pton(AF_INET, m_options.host.c_str(), &addr.sin_addr) != 1) {
        if (error) *error = "not an IPv4 address: " + m_options.host;
        return false;
    }
    m_listenFd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (m_listenFd < 0) {
        if (error) *error = ErrnoText("socket");
        return false;
    }
    int on = 1;
    ::setsockopt(m_listenFd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    if (::bind(m_listenFd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 ||
        ::listen(m_listenFd, SOMAXCONN) != 0 || !m_service.Open()) {
        if (error) *error = ErrnoText("listen on " + m_options.host + ":" + std::to_string(m_options.port));
        Stop();
        return false;
    }
    socklen_t len = sizeof addr;
    ::getsockname(m_listenFd, reinterpret_cast<sockaddr*>(&addr), &len);
    m_port = ntohs(addr.sin_port);
    m_service.Start([this] { Run(); });
    return true;
}

void TcpServer::Stop()
{
    m_service.Stop();
    if (m_listenFd >= 0) ::close(m_listenFd);
    m_listenFd = -1;
}

void TcpServer::Run()
{
    while (!m_service.Stopping()) {
        if (m_current < 0 && !m_waiting.empty()) {
            const Connection next = m_waiting.front();
            m_current = next.fd;
            m_waiting.pop_front();
            {
                std::lock_guard lock(m_pushMutex);
                m_pushFd = m_current;
                m_pushStatusBack = next.statusBack;
            }
            m_currentPeer = PeerName(m_current);
            m_received = 0;
            m_replyStalled = false;
            m_lastInput = std::chrono::steady_clock::now();
        }
        // With an accept delay, connections are taken one by one, each after the delay.
        const bool acceptNow = m_options.acceptDelayMs > 0 ? m_current < 0 && m_waiting.empty()
                                                           : m_waiting.size() < kMaxWaiting;
        std::vector<pollfd> fds = {{m_service.WakeFd(), POLLIN, 0}, {acceptNow ? m_listenFd : -1, POLLIN, 0}, {m_current, POLLIN, 0}};
        for (const Connection& kept : m_kept) fds.push_back({kept.fd, POLLIN, 0});
        const int r = ::poll(fds.data(), fds.size(), PollTimeoutMs());
        if (r < 0 && errno != EINTR) break;
        if (m_service.Stopping() || (fds[0].revents & POLLIN)) break;
        if (fds[1].revents & POLLIN) {
            if (m_options.acceptDelayMs > 0 && !DelayAccept()) break;
            AcceptWaiting();
        }
        if (m_current >= 0 && (fds[2].revents & (POLLIN | POLLHUP | POLLERR))) ReadCurrent();
        WatchKept(fds, 3);
        const auto silent = std::chrono::steady_clock::now() - m_lastInput;
        if (m_current >= 0 && !m_waiting.empty() &&
            silent >= std::chrono::milliseconds(m_options.idleWhileOthersWaitMs)) {
            if (m_pushStatusBack != 0) KeepForStatusBack();
            else EndCurrent(false);
        }
    }
    if (m_current >= 0) EndCurrent(false);
    for (const Connection& c : m_waiting) ::close(c.fd);
    m_waiting.clear();
    std::lock_guard lock(m_pushMutex);
    for (const Connection& c : m_kept) ::close(c.fd);
    m_kept.clear();
}

int TcpServer::PollTimeoutMs() const
{
    if (m_current < 0 || m_waiting.empty()) return -1;
    const auto due = m_lastInput + std::chrono::milliseconds(m_options.idleWhileOthersWaitMs);
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(due - std::chrono::steady_clock::now());
    return int(std::max<int64_t>(0, left.count() + 1));
}

bool TcpServer::DelayAccept()
{
    // Sleeps in a poll that only the wake pipe can end early.
    pollfd wake{m_service.WakeFd(), POLLIN, 0};
    const int r = ::poll(&wake, 1, m_options.acceptDelayMs);
    return !(r > 0 || m_service.Stopping());
}

void TcpServer::AcceptWaiting()
{
    const size_t limit = m_options.acceptDelayMs > 0 ? 1 : kMaxWaiting;
    while (m_waiting.size() < limit) {
        const int fd = ::accept4(m_listenFd, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0) return;   // none left (EAGAIN), or one that gave up before we got to it
        const timeval sendTimeout{kSendTimeoutMs / 1000, (kSendTimeoutMs % 1000) * 1000};
        ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &sendTimeout, sizeof sendTimeout);
        m_waiting.push_back({fd, 0});
    }
}

void TcpServer::ReadCurrent()
{
    const int fd = m_current;
    const ReplyFn reply = [this, fd](const Bytes& bytes) {
        size_t n = bytes.size();
        if (m_options.replyBytes >= 0) n = std::min(n, size_t(m_options.replyBytes));
        if (!m_replyStalled && !SendAll(fd, bytes.data(), n)) m_replyStalled = true;
    };
    uint8_t buffer[kReadChunk];
    const ssize_t n = ::recv(fd, buffer, m_throttle.Chunk(sizeof buffer), MSG_DONTWAIT);
    if (n < 0 && (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK)) return;
    if (n <= 0) return EndCurrent(false);
    m_lastInput = std::chrono::steady_clock::now();
    size_t take = size_t(n);
    bool reset = false;
    if (m_options.resetAfter >= 0 && m_received + n >= m_options.resetAfter) {
        take = size_t(m_options.resetAfter - m_received);
        reset = true;
    }
    m_received += n;
    if (take > 0) m_sink(buffer, take, reply);
    // A client that no longer takes its replies is not served further.
    if (reset || m_replyStalled) return EndCurrent(reset);
    m_throttle.Took(size_t(n), m_service.WakeFd());
}

void TcpServer::Push(const Bytes& bytes)
{
    std::lock_guard lock(m_pushMutex);
    if (m_pushFd >= 0) SendAll(m_pushFd, bytes.data(), bytes.size());
}

void TcpServer::SetStatusBack(uint8_t items)
{
    std::lock_guard lock(m_pushMutex);
    m_pushStatusBack = items;
}

void TcpServer::PushStatus(const Bytes& bytes, uint8_t changed)
{
    std::lock_guard lock(m_pushMutex);
    if (m_pushFd >= 0 && (m_pushStatusBack & changed)) SendAll(m_pushFd, bytes.data(), bytes.size());
    for (const Connection& kept : m_kept)
        if (kept.statusBack & changed) SendAll(kept.fd, bytes.data(), bytes.size());
}

void TcpServer::CloseCurrent()
{
    // The server's thread then reads the end and closes it as a client's leaving.
    std::lock_guard lock(m_pushMutex);
    if (m_pushFd >= 0) ::shutdown(m_pushFd, SHUT_RDWR);
}

// Like a client's leaving for the commands it left unfinished, but the connection stays open.
void TcpServer::KeepForStatusBack()
{
    {
        std::lock_guard lock(m_pushMutex);
        if (m_kept.size() >= kMaxKept) {
            ::close(m_kept.front().fd);
            m_kept.erase(m_kept.begin());
        }
        m_kept.push_back({m_current, m_pushStatusBack});
        m_pushFd = -1;
        m_pushStatusBack = 0;
    }
    m_current = -1;
    if (m_end) m_end();
}

// A kept connection that speaks again waits its turn to be served; one that ended goes.
void TcpServer::WatchKept(const std::vector<pollfd>& fds, size_t first)
{
    std::vector<Connection> kept;
    std::lock_guard lock(m_pushMutex);
    for (size_t i = 0; i < m_kept.size(); ++i) {
        const Connection c = m_kept[i];
        const short events = fds.size() > first + i ? fds[first + i].revents : 0;
        if (!(events & (POLLIN | POLLHUP | POLLERR))) {
            kept.push_back(c);
            continue;
        }
        uint8_t probe = 0;
        if (::recv(c.fd, &probe, 1, MSG_PEEK | MSG_DONTWAIT) > 0) m_waiting.push_back(c);
        else ::close(c.fd);
    }
    m_kept = std::move(kept);
}

void TcpServer::EndCurrent(bool reset)
{
    {
        std::lock_guard lock(m_pushMutex);
        m_pushFd = -1;
        m_pushStatusBack = 0;
    }
    if (reset) {
        linger hard{1, 0};   // close with RST, not FIN
        ::setsockopt(m_current, SOL_SOCKET, SO_LINGER, &hard, sizeof hard);
    }
    ::close(m_current);
    m_current = -1;
    if (m_end) m_end();
}

} // namespace tallyx::vprinter
