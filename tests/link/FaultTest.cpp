// The printer misbehaving on the network: it resets the connection mid-command, starts
// listening late, refuses, or never answers. Each ends as the link promises, within its
// bound, and no byte of a command reaches the printer twice.
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>

#include "link/PosixPlatform.h"
#include "tests/link/RecordingPlatform.h"

namespace tallyx::test {
namespace {

using Clock = std::chrono::steady_clock;

int64_t MsSince(Clock::time_point start)
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

int LoopbackSocket(uint16_t& port)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) return -1;
    socklen_t len = sizeof addr;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len);
    port = ntohs(addr.sin_port);
    return fd;
}

// A printer on 127.0.0.1 that misbehaves as told; it records what each connection brought.
class FaultyPrinter {
public:
    struct Options {
        int listenAfterMs = 0;     // refuse connections until then (bound, not listening)
        int resetAfter = -1;       // reset a connection once this many bytes arrived
        bool smallWindow = false;  // tiny segments and window: the sender cannot queue it all
    };

    explicit FaultyPrinter(Options options) : m_options(options)
    {
        m_fd = LoopbackSocket(m_port);
        if (m_options.smallWindow) {
            // Taken over by the accepted connections; the sender's buffer grows with the
            // segment size, so a long command then stays partly in the tool.
            const int window = 1024, segment = 88;
            ::setsockopt(m_fd, SOL_SOCKET, SO_RCVBUF, &window, sizeof window);
            ::setsockopt(m_fd, IPPROTO_TCP, TCP_MAXSEG, &segment, sizeof segment);
        }
        if (!m_options.listenAfterMs) ::listen(m_fd, 8);
        m_thread = std::thread([this] { Run(); });
    }
    ~FaultyPrinter()
    {
        m_stop = true;
        m_thread.join();
        ::close(m_fd);
    }
    uint16_t Port() const { return m_port; }
    std::vector<std::string> Connections()
    {
        std::lock_guard lock(m_mutex);
        return m_connections;
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
            ::listen(m_fd, 8);
        }
        while (!m_stop) {
            if (!Wait(m_fd, 50)) continue;
            const int conn = ::accept(m_fd, nullptr, nullptr);
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
            // Looked at, not taken: the window stays shut, so the tool cannot finish
            // handing the command over before the reset reaches it.
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
    int m_fd = -1;
    uint16_t m_port = 0;
    std::atomic<bool> m_stop{false};
    std::mutex m_mutex;
    std::vector<std::string> m_connections;
    std::thread m_thread;
};

struct NetLink {
    explicit NetLink(uint16_t port)
    {
        host.port = "Ethernet";
        link.m_tcpPort = port;
    }
    FakeHost host;
    PosixPlatform platform;
    Link link{host, platform};
};

const std::string kNotReached = "打印机设置工具|与打印机连接不成功!|0";

TEST(NetworkFault, ResetMidCommandIsReportedAndNotSentAgain)
{
    // The longest command the pending buffer holds, each byte telling its place.
    Bytes command(24575);
    for (size_t i = 0; i < command.size(); ++i) command[i] = uint8_t(i * 7 + i / 251);
    FaultyPrinter printer({0, 500, true});
    NetLink f(printer.Port());

    const auto start = Clock::now();
    f.link.SendToPrinter(command, Delivery::Direct);
    const int64_t took = MsSince(start);

    EXPECT_EQ(f.host.messages, std::vector<std::string>{kNotReached});
    EXPECT_LT(took, 4000) << "the link keeps trying past its bound";
    const std::vector<std::string> seen = printer.Connections();
    ASSERT_EQ(seen.size(), 1u) << "a command cut off must not be started again";
    EXPECT_EQ(seen[0].size(), 500u);
    const Bytes got(seen[0].begin(), seen[0].end());
    const auto differ = std::mismatch(got.begin(), got.end(), command.begin());
    EXPECT_TRUE(differ.first == got.end()) << "byte " << differ.first - got.begin() << " differs";
}

TEST(NetworkFault, PrinterListeningLateGetsTheCommandOnce)
{
    for (int lateMs : {150, 250, 700}) {
        SCOPED_TRACE("listening after " + std::to_string(lateMs) + " ms");
        FaultyPrinter printer({lateMs, -1, false});
        NetLink f(printer.Port());
        const auto start = Clock::now();
        f.link.SendToPrinter(Bytes{0x1B, 0x40, 0x0A}, Delivery::Direct);
        const int64_t took = MsSince(start);

        EXPECT_TRUE(f.host.messages.empty());
        // Refused tries are 100 ms apart; then the send and the 300 ms pause.
        EXPECT_GE(took, lateMs + 300);
        EXPECT_LT(took, lateMs + 1500);
        for (int i = 0; i < 100 && printer.Connections().empty(); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        EXPECT_EQ(printer.Connections(), std::vector<std::string>{"\x1B\x40\x0A"});
    }
}

TEST(NetworkFault, RefusingPrinterEndsAtTheRetryBound)
{
    // Bound, never listening: every connection is refused at once.
    uint16_t port = 0;
    const int fd = LoopbackSocket(port);
    ASSERT_GE(fd, 0);
    NetLink f(port);
    const auto start = Clock::now();
    f.link.SendToPrinter(Bytes{0x1F, 0x11, 0x04}, Delivery::Direct);
    const int64_t took = MsSince(start);
    ::close(fd);

    EXPECT_EQ(f.host.messages, std::vector<std::string>{kNotReached});
    EXPECT_GE(took, 2900);
    EXPECT_LT(took, 4500);
}

TEST(NetworkFault, PrinterThatNeverAnswersEndsAtTheRetryBound)
{
    // A full listen queue: the printer's side drops every new connection request, so the
    // connection stays in progress and nothing can be sent.
    uint16_t port = 0;
    const int fd = LoopbackSocket(port);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::listen(fd, 0), 0);
    const int filler = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = htons(port);
    ASSERT_EQ(::connect(filler, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);

    NetLink f(port);
    const auto start = Clock::now();
    f.link.SendToPrinter(Bytes{0x1F, 0x11, 0x04}, Delivery::Direct);
    const int64_t took = MsSince(start);

    EXPECT_EQ(f.host.messages, std::vector<std::string>{kNotReached});
    EXPECT_GE(took, 2900);
    EXPECT_LT(took, 4500);
    // Whatever was queued on the printer's side holds no byte of the command.
    const int first = ::accept4(fd, nullptr, nullptr, SOCK_NONBLOCK);
    ASSERT_GE(first, 0);
    char buf[16];
    EXPECT_LT(::recv(first, buf, sizeof buf, 0), 1);
    ::close(first);
    ::close(filler);
    ::close(fd);
}

TEST(NetworkFault, ConnectToAPrinterThatNeverRepliesTakesNoParameters)
{
    FaultyPrinter printer({0, -1, false});
    NetLink f(printer.Port());
    const auto start = Clock::now();
    const ConnectOutcome outcome = f.link.Connect();
    const int64_t took = MsSince(start);

    EXPECT_TRUE(outcome.connected);
    EXPECT_FALSE(outcome.net.valid) << "no reply: no address may be shown";
    EXPECT_EQ(outcome.net.ip, 0u);
    EXPECT_TRUE(f.host.messages.empty());
    // 80 ms before the query and 350 ms before the one read.
    EXPECT_GE(took, 430);
    EXPECT_LT(took, 1500);
    for (int i = 0; i < 100 && printer.Connections().empty(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(printer.Connections(), std::vector<std::string>{"\x10\x04\x13"});
}

TEST(NetworkFault, ConnectToARefusingPrinterGivesUpAfterItsFifteenTries)
{
    uint16_t port = 0;
    const int fd = LoopbackSocket(port);
    ASSERT_GE(fd, 0);
    NetLink f(port);
    const auto start = Clock::now();
    const ConnectOutcome outcome = f.link.Connect();
    const int64_t took = MsSince(start);
    ::close(fd);

    EXPECT_FALSE(outcome.connected);
    EXPECT_EQ(f.host.messages, std::vector<std::string>{kNotReached});
    // The first wait and fifteen more, 80 ms each.
    EXPECT_GE(took, 1280);
    EXPECT_LT(took, 2500);
}

} // namespace
} // namespace tallyx::test
