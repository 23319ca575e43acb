#include "vprinter/ports/Forwarder.h"

#include <arpa/inet.h>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <termios.h>
#include <unistd.h>

namespace tallyx::vprinter {

namespace {

constexpr std::string_view kSocketScheme = "socket://";
constexpr int kConnectTimeoutMs = 1000;
// A real printer that takes nothing for this long is taken as gone.
constexpr int kWriteTimeoutMs = 3000;
constexpr auto kRetryEvery = std::chrono::seconds(1);
// The reader looks again this often for a printer reached anew.
constexpr int kReaderPollMs = 50;
constexpr size_t kReadChunk = 4096;

std::string ErrnoText(const std::string& what)
{
    return what + ": " + std::strerror(errno);
}

bool ParsePort(std::string_view text, long lowest, long highest, long& value)
{
    const char* end = text.data() + text.size();
    const auto [at, ec] = std::from_chars(text.data(), end, value);
    return !text.empty() && ec == std::errc() && at == end && value >= lowest && value <= highest;
}

speed_t BaudConstant(int baud)
{
    switch (baud) {
    case 1200: return B1200;
    case 2400: return B2400;
    case 4800: return B4800;
    case 9600: return B9600;
    case 19200: return B19200;
    case 38400: return B38400;
    case 57600: return B57600;
    case 115200: return B115200;
    case 230400: return B230400;
    default: return B0;
    }
}

int ConnectSocket(const ForwardTarget& t, std::string* error)
{
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (::getaddrinfo(t.host.c_str(), nullptr, &hints, &found) != 0 || !found) {
        *error = "unknown host " + t.host;
        return -1;
    }
    sockaddr_in addr = *reinterpret_cast<sockaddr_in*>(found->ai_addr);
    ::freeaddrinfo(found);
    addr.sin_port = htons(t.port);
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0) {
        *error = ErrnoText("socket");
        return -1;
    }
    if (::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
        if (errno != EINPROGRESS) {
            *error = ErrnoText("connect");
            ::close(fd);
            return -1;
        }
        pollfd p{fd, POLLOUT, 0};
        int soError = 0;
        socklen_t len = sizeof soError;
        if (::poll(&p, 1, kConnectTimeoutMs) != 1) soError = ETIMEDOUT;
        else ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &soError, &len);
        if (soError != 0) {
            errno = soError;
            *error = ErrnoText("connect");
            ::close(fd);
            return -1;
        }
    }
    // A status question is a few bytes: sent at once, not held for more.
    int on = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    return fd;
}

int OpenDevice(const ForwardTarget& t, std::string* error)
{
    const int fd = ::open(t.device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        *error = ErrnoText(t.device);
        return -1;
    }
    if (t.baud == 0) return fd;
    termios tio{};
    if (::tcgetattr(fd, &tio) != 0) {
        *error = ErrnoText(t.device + " is not a serial port");
        ::close(fd);
        return -1;
    }
    ::cfmakeraw(&tio);
    ::cfsetspeed(&tio, BaudConstant(t.baud));
    tio.c_cflag |= CLOCAL | CREAD;
    if (::tcsetattr(fd, TCSANOW, &tio) != 0) {
        *error = ErrnoText(t.device);
        ::close(fd);
        return -1;
    }
    return fd;
}

} // namespace

std::optional<ForwardTarget> ParseForwardTarget(std::string_view text, std::string* error)
{
    ForwardTarget t;
    t.text = std::string(text);
    long number = 0;
    if (text.starts_with(kSocketScheme)) {
        const std::string_view rest = text.substr(kSocketScheme.size());
        const auto colon = rest.rfind(':');
        if (colon == std::string_view::npos || colon == 0 || !ParsePort(rest.substr(colon + 1), 1, 65535, number)) {
            if (error) *error = "expected socket://HOST:PORT, got " + t.text;
            return std::nullopt;
        }
        t.host = std::string(rest.substr(0, colon));
        t.port = uint16_t(number);
        return t;
    }
    if (!text.starts_with('/')) {
        if (error) *error = "expected socket://HOST:PORT or a device path (DEVICE or DEVICE:BAUD), got " + t.text;
        return std::nullopt;
    }
    const auto colon = text.rfind(':');
    t.device = std::string(text.substr(0, colon));
    if (colon != std::string_view::npos) {
        if (!ParsePort(text.substr(colon + 1), 1, 230400, number) || BaudConstant(int(number)) == B0) {
            if (error) *error = "not a baud rate: " + std::string(text.substr(colon + 1)) +
                                " (1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200, 230400)";
            return std::nullopt;
        }
        t.baud = int(number);
    }
    return t;
}

struct Forwarder::Link {
    explicit Link(int descriptor, bool isSocket) : fd(descriptor), socket(isSocket) {}
    ~Link() { ::close(fd); }
    const int fd;
    const bool socket;
};

Forwarder::Forwarder(ForwardTarget target, ReplyFn replies, LossFn lost)
    : m_target(std::move(target)), m_replies(std::move(replies)), m_lost(std::move(lost))
{
}

Forwarder::~Forwarder()
{
    Stop();
}

bool Forwarder::Start(std::string* error)
{
    std::string why;
    auto link = Open(&why);
    if (!link) {
        if (error) *error = "--forward " + m_target.text + ": " + why;
        return false;
    }
    if (!m_reader.Open()) {
        if (error) *error = ErrnoText("pipe");
        return false;
    }
    {
        std::lock_guard lock(m_linkMutex);
        m_link = std::move(link);
    }
    m_reader.Start([this] { ReadReplies(); });
    return true;
}

void Forwarder::Stop()
{
    m_reader.Stop();
    std::lock_guard lock(m_linkMutex);
    m_link.reset();
}

std::shared_ptr<Forwarder::Link> Forwarder::Open(std::string* error)
{
    const bool isSocket = m_target.device.empty();
    const int fd = isSocket ? ConnectSocket(m_target, error) : OpenDevice(m_target, error);
    return fd < 0 ? nullptr : std::make_shared<Link>(fd, isSocket);
}

std::shared_ptr<Forwarder::Link> Forwarder::Current()
{
    std::lock_guard lock(m_linkMutex);
    return m_link;
}

void Forwarder::Drop(const std::shared_ptr<Link>& link)
{
    // The reader may still be polling it: its copy keeps the descriptor open till it wakes.
    if (link->socket) ::shutdown(link->fd, SHUT_RDWR);
    std::lock_guard lock(m_linkMutex);
    if (m_link == link) m_link.reset();
}

void Forwarder::Send(const uint8_t* data, size_t n)
{
    std::lock_guard lock(m_sendMutex);
    auto link = Current();
    if (!link) {
        const auto now = std::chrono::steady_clock::now();
        if (now - m_lastTry >= kRetryEvery) {
            m_lastTry = now;
            link = Open(&m_lastError);
            std::lock_guard linkLock(m_linkMutex);
            m_link = link;
        }
        if (!link) return m_lost(data, n, m_lastError);
    }
    while (n > 0) {
        const ssize_t sent = link->socket ? ::send(link->fd, data, n, MSG_NOSIGNAL) : ::write(link->fd, data, n);
        if (sent > 0) {
            data += sent;
            n -= size_t(sent);
            continue;
        }
        if (sent < 0 && errno == EINTR) continue;
        if (sent < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            pollfd p[2] = {{link->fd, POLLOUT, 0}, {m_reader.WakeFd(), POLLIN, 0}};
            if (::poll(p, 2, kWriteTimeoutMs) > 0 && (p[0].revents & POLLOUT)) continue;
            errno = ETIMEDOUT;
        }
        m_lastError = ErrnoText("write");
        m_lastTry = std::chrono::steady_clock::now();
        Drop(link);
        return m_lost(data, n, m_lastError);
    }
}

void Forwarder::ReadReplies()
{
    uint8_t buffer[kReadChunk];
    while (!m_reader.Stopping()) {
        const auto link = Current();
        pollfd p[2] = {{m_reader.WakeFd(), POLLIN, 0}, {link ? link->fd : -1, POLLIN, 0}};
        if (::poll(p, 2, kReaderPollMs) < 0 && errno != EINTR) return;
        if (p[0].revents & POLLIN) return;
        if (!link || !(p[1].revents & (POLLIN | POLLHUP | POLLERR))) continue;
        const ssize_t n = ::read(link->fd, buffer, sizeof buffer);
        if (n > 0) {
            m_replies(Bytes(buffer, buffer + n));
        } else if (link->socket && (n == 0 || (errno != EINTR && errno != EAGAIN))) {
            Drop(link);   // the printer went: the next send reaches for it again
        } else if (!link->socket) {
            ::poll(p, 1, kReaderPollMs);   // a device with nothing to say reads as empty: no spin
        }
    }
}

} // namespace tallyx::vprinter
