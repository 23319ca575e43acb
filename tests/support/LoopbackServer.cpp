#include "tests/support/LoopbackServer.h"

#include <arpa/inet.h>
#include <chrono>
#include <netinet/in.h>
#include <poll.h>
#include <stdexcept>
#include <sys/socket.h>
#include <unistd.h>

namespace tallyx::test {

namespace {

uint16_t BindLoopback(int fd)
{
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = 0;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) throw std::runtime_error("bind");
    socklen_t len = sizeof addr;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len);
    return ntohs(addr.sin_port);
}

// Waits for fd or the wake pipe; false when woken to stop.
bool WaitReadable(int fd, int wakeFd, int timeoutMs)
{
    pollfd p[2] = {{fd, POLLIN, 0}, {wakeFd, POLLIN, 0}};
    ::poll(p, 2, timeoutMs);
    return !(p[1].revents & POLLIN);
}

} // namespace

LoopbackServer::LoopbackServer() : LoopbackServer(Options{}) {}

LoopbackServer::LoopbackServer(Options options) : m_options(std::move(options))
{
    m_listenFd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    int on = 1;
    ::setsockopt(m_listenFd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    m_port = BindLoopback(m_listenFd);
    ::listen(m_listenFd, 8);
    if (::pipe(m_wakeFd) != 0) throw std::runtime_error("pipe");
    m_thread = std::thread([this] { Run(); });
}

LoopbackServer::~LoopbackServer()
{
    const char stop = 1;
    (void)!::write(m_wakeFd[1], &stop, 1);
    m_thread.join();
    ::close(m_listenFd);
    ::close(m_wakeFd[0]);
    ::close(m_wakeFd[1]);
}

void LoopbackServer::Run()
{
    for (;;) {
        if (!WaitReadable(m_listenFd, m_wakeFd[0], -1)) return;
        if (m_options.acceptDelayMs > 0 && !WaitReadable(m_wakeFd[0], m_wakeFd[0], m_options.acceptDelayMs)) return;
        const int fd = ::accept(m_listenFd, nullptr, nullptr);
        if (fd < 0) continue;
        std::string got;
        bool replied = m_options.reply.empty();
        for (;;) {
            if (!WaitReadable(fd, m_wakeFd[0], 5000)) { ::close(fd); return; }
            char buf[4096];
            const ssize_t n = ::recv(fd, buf, sizeof buf, MSG_DONTWAIT);
            if (n > 0) {
                got.append(buf, size_t(n));
                if (!replied && got.size() >= 3) {
                    (void)!::send(fd, m_options.reply.data(), m_options.reply.size(), MSG_NOSIGNAL);
                    replied = true;
                }
                continue;
            }
            if (n < 0 && (errno == EAGAIN || errno == EINTR)) continue;
            break;   // the client closed (or reset)
        }
        ::close(fd);
        std::lock_guard lock(m_mutex);
        m_connections.push_back(std::move(got));
        m_changed.notify_all();
    }
}

std::vector<std::string> LoopbackServer::WaitForConnections(size_t count, int timeoutMs)
{
    std::unique_lock lock(m_mutex);
    m_changed.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] { return m_connections.size() >= count; });
    return m_connections;
}

size_t LoopbackServer::ConnectionCount()
{
    std::lock_guard lock(m_mutex);
    return m_connections.size();
}

RefusingPort::RefusingPort()
{
    m_fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    m_port = BindLoopback(m_fd);
}

RefusingPort::~RefusingPort() { ::close(m_fd); }

} // namespace tallyx::test
