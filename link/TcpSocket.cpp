#include "link/TcpSocket.h"

#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include "link/Poll.h"

namespace tallyx::tcp {

OpenResult Open()
{
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) return {-1, errno};
    return {fd, 0};
}

ConnectState Connect(int fd, uint32_t address, uint16_t port)
{
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(port);
    to.sin_addr.s_addr = htonl(address);
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&to), sizeof to) == 0) return ConnectState::Connected;
    return (errno == EINPROGRESS || errno == EINTR) ? ConnectState::Pending : ConnectState::Failed;
}

ConnectState WaitConnected(int fd, int timeoutMs, std::stop_token stop)
{
    const int revents = PollFor(fd, POLLOUT, timeoutMs, stop);
    if (revents == 0) return ConnectState::Pending;
    int error = 0;
    socklen_t len = sizeof error;
    if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &len) != 0 || error != 0) return ConnectState::Failed;
    return (revents & (POLLERR | POLLHUP)) ? ConnectState::Failed : ConnectState::Connected;
}

long Send(int fd, const uint8_t* data, size_t n)
{
    const ssize_t r = ::send(fd, data, n, MSG_NOSIGNAL);
    if (r >= 0) return long(r);
    if (errno == EAGAIN || errno == EWOULDBLOCK || errno == ENOTCONN || errno == EINTR) return Platform::kSendRetry;
    return Platform::kSendFailed;
}

void WaitWritable(int fd, int timeoutMs, std::stop_token stop)
{
    PollFor(fd, POLLOUT, timeoutMs, stop);
}

size_t Receive(int fd, uint8_t* data, size_t capacity, int timeoutMs, std::stop_token stop)
{
    if (timeoutMs > 0) PollFor(fd, POLLIN, timeoutMs, stop);
    size_t got = 0;
    while (got < capacity) {
        const ssize_t r = ::recv(fd, data + got, capacity - got, MSG_DONTWAIT);
        if (r > 0) got += size_t(r);
        else if (r < 0 && errno == EINTR) continue;
        else break;
    }
    return got;
}

void CloseGracefully(int fd, int lingerMs, std::stop_token stop)
{
    ::shutdown(fd, SHUT_WR);
    const int64_t deadline = SteadyNowMs() + lingerMs;
    uint8_t scratch[512];
    for (;;) {
        const ssize_t r = ::recv(fd, scratch, sizeof scratch, MSG_DONTWAIT);
        if (r > 0) continue;
        if (r == 0) break;                       // the printer closed its side
        if (errno == EINTR) continue;
        if (errno != EAGAIN && errno != EWOULDBLOCK) break;
        const int64_t left = deadline - SteadyNowMs();
        if (left <= 0 || stop.stop_requested()) break;
        PollFor(fd, POLLIN, int(left), stop);
    }
    ::close(fd);
}

void Close(int fd)
{
    ::close(fd);
}

} // namespace tallyx::tcp
