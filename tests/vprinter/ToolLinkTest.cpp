// The tool's own link code against the virtual printer, over TCP and over the pseudo-terminal.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "link/Link.h"
#include "res/Faults.h"
#include "link/PosixPlatform.h"
#include "tests/support/RecordingPlatform.h"
#include "tests/vprinter/RunningPrinter.h"
#include "jobs/PrinterQueries.h"

namespace tallyx::vprinter::test {
namespace {


using Host = tallyx::test::FakeHost;

bool WaitForFiles(const VirtualPrinter& printer, size_t count)
{
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (printer.WrittenFiles().size() < count) {
        if (std::chrono::steady_clock::now() > until) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

class ToolLink : public RunningPrinter {
protected:
    Host m_host;
};

TEST_F(ToolLink, EthernetConnectReadsTheStoredParametersAndSelfTestPrints)
{
    m_host.port = "Ethernet";
    tallyx::test::HostedLink link(m_host, m_platform);
    link.SetTcpPort(m_printer->TcpPort());
    const ConnectOutcome outcome = link.Connect(NetworkParamQuery());
    ASSERT_TRUE(outcome.connected);
    EXPECT_TRUE(DecodeNetReply(outcome.netReply).valid);
    EXPECT_EQ(DecodeNetReply(outcome.netReply).ip, 0xC0A80164u);
    EXPECT_EQ(DecodeNetReply(outcome.netReply).mask, 0xFFFFFF00u);
    EXPECT_EQ(DecodeNetReply(outcome.netReply).dhcpIndex, 0);

    link.SendToPrinter(Bytes{0x1F, 0x11, 0x04});
    EXPECT_TRUE(m_host.messages.empty());
    EXPECT_TRUE(WaitForFiles(*m_printer, 1));
}

TEST_F(ToolLink, SerialSelfTestThroughThePseudoTerminalWithTheReopenRule)
{
    m_host.port = m_printer->PtyPath();
    tallyx::test::HostedLink link(m_host, m_platform);
    ASSERT_TRUE(link.Connect(NetworkParamQuery()).connected) << (m_host.messages.empty() ? "" : m_host.messages[0]);
    link.SendToPrinter(Bytes{0x1F, 0x11, 0x04, 0x0A});
    link.SendToPrinter(Bytes{0x1F, 0x11, 0x04, 0x0A});
    EXPECT_TRUE(m_host.messages.empty());
    EXPECT_TRUE(WaitForFiles(*m_printer, 2));
    link.Disconnect();
}

} // namespace
} // namespace tallyx::vprinter::test
