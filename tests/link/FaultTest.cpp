// The printer misbehaving on the network: it resets the connection mid-command, starts
// listening late, refuses, or never answers. Each ends as the link promises, within its
// bound, and no byte of a command reaches the printer twice.
#include <gtest/gtest.h>

#include <thread>

#include "link/PosixPlatform.h"
#include "tests/link/FaultyPrinter.h"
#include "tests/support/EthernetLink.h"
#include "jobs/PrinterQueries.h"

namespace tallyx::test {
namespace {

const std::string kNotReached = "打印机设置工具|与打印机连接不成功!|0";

TEST(NetworkFault, ResetMidCommandIsReportedAndNotSentAgain)
{
    // The longest command the pending buffer holds, each byte telling its place.
    Bytes command(24575);
    for (size_t i = 0; i < command.size(); ++i) command[i] = uint8_t(i * 7 + i / 251);
    FaultyPrinter printer({0, 500});
    EthernetLink<SlowLinePlatform> f(printer.Port());

    const int64_t took = TimedMs([&] { f.link.SendToPrinter(command); });

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
        FaultyPrinter printer({lateMs, -1});
        EthernetLink<> f(printer.Port());
        const int64_t took = TimedMs([&] { f.link.SendToPrinter(Bytes{0x1B, 0x40, 0x0A}); });

        EXPECT_TRUE(f.host.messages.empty());
        // Refused tries are 100 ms apart; then the send and the 300 ms pause.
        EXPECT_GE(took, lateMs + 300);
        EXPECT_LT(took, lateMs + 1500);
        EXPECT_EQ(printer.ConnectionsOnceOneEnded(), std::vector<std::string>{"\x1B\x40\x0A"});
    }
}

TEST(NetworkFault, RefusingPrinterEndsAtTheRetryBound)
{
    const BoundSocket refusing;
    ASSERT_GE(refusing.Fd(), 0);
    EthernetLink<> f(refusing.Port());
    const int64_t took = TimedMs([&] { f.link.SendToPrinter(Bytes{0x1F, 0x11, 0x04}); });

    EXPECT_EQ(f.host.messages, std::vector<std::string>{kNotReached});
    EXPECT_GE(took, 2900);
    EXPECT_LT(took, 4500);
}

TEST(NetworkFault, PrinterThatNeverAnswersEndsAtTheRetryBound)
{
    // A full listen queue: the printer's side drops every new connection request, so the
    // connection stays in progress and nothing can be sent.
    const BoundSocket printerSide;
    const int fd = printerSide.Fd();
    const uint16_t port = printerSide.Port();
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::listen(fd, 0), 0);
    const int filler = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = htons(port);
    ASSERT_EQ(::connect(filler, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);

    EthernetLink<> f(port);
    const int64_t took = TimedMs([&] { f.link.SendToPrinter(Bytes{0x1F, 0x11, 0x04}); });

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
}

TEST(NetworkFault, ConnectToAPrinterThatNeverRepliesTakesNoParameters)
{
    FaultyPrinter printer({0, -1});
    EthernetLink<> f(printer.Port());
    ConnectOutcome outcome;
    const int64_t took = TimedMs([&] { outcome = f.link.Connect(NetworkParamQuery()); });

    EXPECT_TRUE(outcome.connected);
    EXPECT_FALSE(DecodeNetReply(outcome.netReply).valid) << "no reply: no address may be shown";
    EXPECT_EQ(DecodeNetReply(outcome.netReply).ip, 0u);
    EXPECT_TRUE(f.host.messages.empty());
    // 80 ms before the query and 350 ms before the one read.
    EXPECT_GE(took, 430);
    EXPECT_LT(took, 1500);
    EXPECT_EQ(printer.ConnectionsOnceOneEnded(), std::vector<std::string>{"\x10\x04\x13"});
}

TEST(NetworkFault, ConnectToARefusingPrinterGivesUpAfterItsFifteenTries)
{
    const BoundSocket refusing;
    ASSERT_GE(refusing.Fd(), 0);
    EthernetLink<> f(refusing.Port());
    ConnectOutcome outcome;
    const int64_t took = TimedMs([&] { outcome = f.link.Connect(NetworkParamQuery()); });

    EXPECT_FALSE(outcome.connected);
    EXPECT_EQ(f.host.messages, std::vector<std::string>{kNotReached});
    // The first wait and fifteen more, 80 ms each.
    EXPECT_GE(took, 1280);
    EXPECT_LT(took, 2500);
}

} // namespace
} // namespace tallyx::test
