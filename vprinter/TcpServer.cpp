#include "vprinter/TcpServer.h"

#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace tallyx::vprinter {

namespace {

constexpr size_t kReadChunk = 4096;

std::string ErrnoText(const char* what)
{
    return std::string(what) + ": " + std::strerror(errno);
}

void SendAll(int fd, const uint8_t* data, size_t n)
{
    while (n > 0) {
        ssize_t sent = ::send(fd, data, n, MSG_NOSIGNAL);
        if (sent < 0 && errno == EINTR) continue;
        if (sent <= 0) return;   // the peer has gone; nothing to report to
        data += sent;
        n -= size_t(sent);
    }
}

} // namespace

TcpServer::TcpServer(TcpOptions options, ByteSink sink) : m_options(std::move(options)), m_sink(std::move(sink)) {}

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
    m_listenFd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (m_listenFd < 0) {
        if (error) *error = ErrnoText("socket");
        return false;
    }
    int on = 1;
    ::setsockopt(m_listenFd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    if (::bind(m_listenFd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 || ::listen(m_listenFd, 8) != 0 ||
        ::pipe2(m_wake, O_CLOEXEC) != 0) {
        if (error) *error = ErrnoText(("listen on " + m_options.host + ":" + std::to_string(m_options.port)).c_str());
        Stop();
        return false;
    }
    socklen_t len = sizeof addr;
    ::getsockname(m_listenFd, reinterpret_cast<sockaddr*>(&addr), &len);
    m_port = ntohs(addr.sin_port);
    m_stop = false;
    m_thread = std::thread([this] { Run(); });
    return true;
}

void TcpServer::Stop()
{
    m_stop = true;
    if (m_wake[1] >= 0) (void)!::write(m_wake[1], "x", 1);
    if (m_thread.joinable()) m_thread.join();
    for (int* fd : {&m_listenFd, &m_wake[0], &m_wake[1]}) {
        if (*fd >= 0) ::close(*fd);
        *fd = -1;
    }
}

bool TcpServer::WaitStoppable(int fd, int timeoutMs)
{
    pollfd fds[2] = {{m_wake[0], POLLIN, 0}, {fd, POLLIN, 0}};
    int r = ::poll(fds, fd >= 0 ? 2 : 1, timeoutMs);
    if (r < 0 && errno != EINTR) return false;
    return !m_stop && !(fds[0].revents & POLLIN);
}

void TcpServer::Run()
{
    while (!m_stop) {
        if (!WaitStoppable(m_listenFd, -1)) return;
        if (m_options.acceptDelayMs > 0) {
            // Sleep in the stop-aware poll; only the wake pipe can end it early.
            const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(m_options.acceptDelayMs);
            while (std::chrono::steady_clock::now() < until) {
                auto left = std::chrono::duration_cast<std::chrono::milliseconds>(until - std::chrono::steady_clock::now());
                if (!WaitStoppable(-1, int(left.count()) + 1)) {
                    if (m_stop) return;
                }
            }
        }
        int fd = ::accept4(m_listenFd, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0) continue;
        Serve(fd);
    }
}

void TcpServer::Serve(int fd)
{
    int64_t received = 0;
    const ReplyFn reply = [this, fd](const Bytes& bytes) {
        size_t n = bytes.size();
        if (m_options.replyBytes >= 0) n = std::min(n, size_t(m_options.replyBytes));
        SendAll(fd, bytes.data(), n);
    };
    uint8_t buffer[kReadChunk];
    bool reset = false;
    while (!m_stop && !reset) {
        if (!WaitStoppable(fd, -1)) break;
        ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        size_t take = size_t(n);
        if (m_options.resetAfter >= 0 && received + n >= m_options.resetAfter) {
            take = size_t(m_options.resetAfter - received);
            reset = true;
        }
        received += n;
        if (take > 0) m_sink(buffer, take, reply);
    }
    if (reset) {
        linger hard{1, 0};   // close with RST, not FIN
        ::setsockopt(fd, SOL_SOCKET, SO_LINGER, &hard, sizeof hard);
    }
    ::close(fd);
}

} // namespace tallyx::vprinter
