// Many commands through the tool's own link code to the virtual printer: 10,000 over its
// pseudo-terminal with the reopen rule, 200 over TCP with a connection each. Every
// command must arrive exactly once and in order.
#include <gtest/gtest.h>

#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <mutex>
#include <thread>

#include "link/Link.h"
#include "link/PosixPlatform.h"
#include "tests/support/RecordingPlatform.h"
#include "vprinter/PrinterEngine.h"
#include "vprinter/ports/PtyPort.h"
#include "vprinter/ports/TcpServer.h"

namespace tallyx::test {
namespace {

using namespace std::chrono_literals;
namespace vp = tallyx::vprinter;

// ESC $ nL nH (absolute print position): four bytes that number the command, so that a
// lost, doubled or swapped command shows in what the printer took.
Bytes Numbered(int i)
{
    return Bytes{0x1B, 0x24, uint8_t(i & 0xFF), uint8_t(i >> 8)};
}

// The real devices and sockets, with the pauses between network commands cut short:
// what is soaked here is the delivery, not the pacing.
class QuickPlatform : public PosixPlatform {
public:
    void SleepMs(int ms, std::stop_token stop) override { PosixPlatform::SleepMs(ms > 2 ? 2 : ms, stop); }
};

// The virtual printer's interpreter behind its two links, recording the bytes each link
// delivered and the commands the interpreter read from them.
class Printer {
public:
    Printer()
        : m_engine(vp::EngineOptions{}, vp::PrinterEngine::Listener{{}, {}, [this](const vp::LogRecord& r) {
              std::lock_guard lock(m_mutex);
              m_logged.push_back(r.bytes);
          }, {}, {}, {}, {}})
    {
        m_engine.Start();
    }
    ~Printer() { m_engine.Stop(); }

    vp::ByteSink Sink()
    {
        return [this](const uint8_t* data, size_t n, const vp::ReplyFn& reply) {
            {
                std::lock_guard lock(m_mutex);
                m_received.insert(m_received.end(), data, data + n);
            }
            m_engine.Feed(data, n, "soak", reply);
        };
    }

    // Waits (bounded) until `count` commands were read; returns them.
    std::vector<Bytes> WaitForCommands(size_t count, std::chrono::seconds bound)
    {
        const auto until = std::chrono::steady_clock::now() + bound;
        for (;;) {
            {
                std::lock_guard lock(m_mutex);
                if (m_logged.size() >= count || std::chrono::steady_clock::now() > until) return m_logged;
            }
            std::this_thread::sleep_for(5ms);
        }
    }
    Bytes Received()
    {
        std::lock_guard lock(m_mutex);
        return m_received;
    }

private:
    std::mutex m_mutex;
    Bytes m_received;
    std::vector<Bytes> m_logged;
    vp::PrinterEngine m_engine;
};

void ExpectAllInOrder(Printer& printer, int count)
{
    const std::vector<Bytes> commands = printer.WaitForCommands(size_t(count), 60s);
    ASSERT_EQ(commands.size(), size_t(count));
    Bytes expected;
    for (int i = 0; i < count; ++i) {
        const Bytes one = Numbered(i);
        if (commands[size_t(i)] != one) {
            ADD_FAILURE() << "command " << i << " arrived as " << Hex(commands[size_t(i)]);
            return;
        }
        expected.insert(expected.end(), one.begin(), one.end());
    }
    EXPECT_EQ(printer.Received().size(), expected.size());
    EXPECT_TRUE(printer.Received() == expected) << "the bytes taken differ from the commands sent";
}

TEST(LinkSoak, TenThousandCommandsOverThePseudoTerminalArriveOnceInOrder)
{
    const std::string path = (std::filesystem::temp_directory_path() /
                              ("tallyx-soak-" + std::to_string(::getpid()))).string();
    Printer printer;
    vp::PtyPort pty(path, printer.Sink());
    std::string error;
    ASSERT_TRUE(pty.Start(&error)) << error;

    FakeHost host;
    host.port = path;
    host.baud = "115200";
    QuickPlatform platform;
    HostedLink link(host, platform);
    ASSERT_TRUE(link.Connect().connected);
    constexpr int kCommands = 10000;
    for (int i = 0; i < kCommands; ++i) link.SendToPrinter(Numbered(i));
    link.Disconnect();

    EXPECT_TRUE(host.messages.empty()) << host.messages.front();
    ExpectAllInOrder(printer, kCommands);
    pty.Stop();
}

TEST(LinkSoak, TwoHundredCommandsOverTcpArriveOnceInOrder)
{
    Printer printer;
    vp::TcpOptions options;
    options.port = 0;
    vp::TcpServer server(options, printer.Sink());
    std::string error;
    ASSERT_TRUE(server.Start(&error)) << error;

    FakeHost host;
    host.port = "Ethernet";
    QuickPlatform platform;
    HostedLink link(host, platform);
    link.SetTcpPort(server.Port());
    constexpr int kCommands = 200;
    for (int i = 0; i < kCommands; ++i) link.SendToPrinter(Numbered(i));

    EXPECT_TRUE(host.messages.empty()) << host.messages.front();
    ExpectAllInOrder(printer, kCommands);
    server.Stop();
}

} // namespace
} // namespace tallyx::test
