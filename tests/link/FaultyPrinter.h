#pragma once
// A printer on 127.0.0.1 that misbehaves on purpose: it starts listening late, resets a
// connection part-way through a command, or takes what comes; it records each connection.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "link/PosixPlatform.h"
#include "tests/support/Timing.h"

namespace tallyx::test {


// A TCP socket bound to an ephemeral port of 127.0.0.1 and not listening, so every
// connection to it is refused at once; closed when it goes. Fd() is -1 when it could not be bound.
class BoundSocket {
public:
    BoundSocket()
    {
        m_fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t len = sizeof addr;
        if (m_fd < 0 || ::bind(m_fd, reinterpret_cast<sockaddr*>(&addr), len) != 0 ||
            ::getsockname(m_fd, reinterpret_cast<sockaddr*>(&addr), &len) != 0) {
            if (m_fd >= 0) ::close(m_fd);
            m_fd = -1;
            return;
        }
        m_port = ntohs(addr.sin_port);
    }
    ~BoundSocket()
    {
        if (m_fd >= 0) ::close(m_fd);
    }
    BoundSocket(const BoundSocket&) = delete;
    BoundSocket& operator=(const BoundSocket&) = delete;

    int Fd() const { return m_fd; }
    uint16_t Port() const { return m_port; }

private:
    int m_fd = -1;
    uint16_t m_port = 0;
};

// A printer on 127.0.0.1 that misbehaves as told; it records what each connection brought.
class FaultyPrinter {
public:
    struct Options {
        int listenAfterMs = 0;     // refuse connections until then (bound, not listening)
        int resetAfter = -1;       // reset a connection once this many bytes arrived
    };

    explicit FaultyPrinter(Options options) : m_options(options)
    {
        if (!m_options.listenAfterMs) ::listen(m_socket.Fd(), 8);
        m_thread = std::thread([this] { Run(); });
    }
    ~FaultyPrinter()
    {
        m_stop = true;
        m_thread.join();
    }
    uint16_t Port() const { return m_socket.Port(); }
    std::vector<std::string> Connections()
    {
        std::lock_guard lock(m_mutex);
        return m_connections;
    }
    // The connections once the first has ended, waiting up to a second for it.
    std::vector<std::string> ConnectionsOnceOneEnded()
    {
        for (int i = 0; i < 100 && Connections().empty(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
        return Connections();
    }

private:
    // Waits for fd to become readable (or, with no fd, for the time to pass) in steps
    // short enough to notice a stop; false on a stop or when fd stayed silent.
    bool Wait(int fd, int ms)
    {
        for (const auto until = Clock::now() + std::chrono::milliseconds(ms); Clock::now() < until;) {
            if (m_stop) return false;
            pollfd p{fd, POLLIN, 0};
            if (fd >= 0 && ::poll(&p, 1, 10) > 0) return true;
            if (fd < 0) std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return fd < 0 && !m_stop;
    }

    void Run()
    {
        if (m_options.listenAfterMs) {
            if (!Wait(-1, m_options.listenAfterMs)) return;
            ::listen(m_socket.Fd(), 8);
        }
        while (!m_stop) {
            if (!Wait(m_socket.Fd(), 50)) continue;
            const int conn = ::accept(m_socket.Fd(), nullptr, nullptr);
            if (conn < 0) continue;
            Serve(conn);
        }
    }

    void Record(const std::string& got)
    {
        std::lock_guard lock(m_mutex);
        m_connections.back() = got;
    }

    void Serve(int conn)
    {
        {
            std::lock_guard lock(m_mutex);
            m_connections.emplace_back();
        }
        std::string got;
        char buf[4096];
        if (m_options.resetAfter >= 0) {
            // Looked at, not taken: the printer never acknowledges the command as read.
            const auto until = Clock::now() + std::chrono::seconds(2);
            ssize_t n = 0;
            while (Clock::now() < until && n < m_options.resetAfter) {
                Wait(conn, 20);
                n = ::recv(conn, buf, size_t(m_options.resetAfter), MSG_PEEK | MSG_DONTWAIT);
            }
            if (n > 0) Record(std::string(buf, size_t(n)));
            linger hard{1, 0};   // close with RST: the printer drops the line
            ::setsockopt(conn, SOL_SOCKET, SO_LINGER, &hard, sizeof hard);
            ::close(conn);
            return;
        }
        while (Wait(conn, 5000)) {
            const ssize_t n = ::recv(conn, buf, sizeof buf, MSG_DONTWAIT);
            if (n <= 0) break;
            got.append(buf, size_t(n));
            Record(got);
        }
        ::close(conn);
    }

    Options m_options;
    BoundSocket m_socket;
    std::atomic<bool> m_stop{false};
    std::mutex m_mutex;
    std::vector<std::string> m_connections;
    std::thread m_thread;
};

// The real sockets behind a slow line: each send call hands over at most 1 KiB and takes
// 20 ms, so a long command is still going out when the printer drops the connection
// (the local socket buffers would otherwise take all of it at once).
class SlowLinePlatform : public PosixPlatform {
public:
    long SocketSend(int fd, const uint8_t* data, size_t n) override
    {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        return PosixPlatform::SocketSend(fd, data, std::min<size_t>(n, 1024));
    }
};

} // namespace tallyx::test
