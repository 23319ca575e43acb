// The cutter run through the link: the delivery rule on serial and USB (recording
// platform), one connection per cycle to a loopback printer, and a printer that never
// accepts.
#include <gtest/gtest.h>

#include <thread>

#include "jobs/CycleDelivery.h"
#include "link/PosixPlatform.h"
#include "res/Address.h"
#include "tests/jobs/RunProbe.h"
#include "tests/support/CutCycles.h"
#include "tests/support/RecordingPlatform.h"
#include "tests/support/LoopbackServer.h"
#include "tests/support/LinkAccess.h"

using namespace tallyx;
using namespace tallyx::test;

namespace {

void RunToEnd(CutterRun& run, DeliverCycle deliver, uint32_t count, uint32_t delayMs)
{
    run.g_cutCount = count;
    run.g_cutDelayMs = delayMs;
    ASSERT_TRUE(run.Start(std::move(deliver)));
    run.Wait();
}

// A network target as the window builds it; the link's disconnect count as it starts.
FixedTarget NetTarget(const std::string& ip, uint16_t port)
{
    return FixedTarget{TargetFromChoices("Ethernet", "", ParseAddressText(ip).value_or(AddressEntry{}), port), 0};
}

// The link on the real platform beside a port that refuses every connection.
struct RefusingPrinter {
    DeliverCycle Deliver(int retryLimitMs = kCutNetRetryLimitMs)
    {
        return MakeCycleDelivery(link, NetTarget("127.0.0.1", refusing.Port()), retryLimitMs);
    }

    RefusingPort refusing;
    PosixPlatform platform;
    FakeHost host;
    HostedLink link{host, platform};
};
} // namespace

TEST(CutterRunLink, SerialCyclesAreWrittenThenThePortReopenedTwice)
{
    RecordingPlatform platform;
    FakeHost host;
    HostedLink link(host, platform);
    link.ReopenPort();
    platform.calls.clear();
    CutterRun run;
    RunToEnd(run, MakeCycleDelivery(link, link.CaptureTarget()), 2, 0);
    const Strings reopen{"close", "open COM1", "configure 9600"};
    Strings expected{"write " + kCycle1};
    for (int i = 0; i < 2; ++i) expected.insert(expected.end(), reopen.begin(), reopen.end());
    expected.push_back("write " + kCycle2);
    for (int i = 0; i < 2; ++i) expected.insert(expected.end(), reopen.begin(), reopen.end());
    EXPECT_EQ(platform.calls, expected);
    EXPECT_TRUE(host.messages.empty());
}

// The worker neither asks the window for its texts nor tells it of a fault.
TEST(CutterRunLink, AFailedReopenIsCountedNotShown)
{
    RecordingPlatform platform;
    FakeHost host;
    HostedLink link(host, platform);
    link.ReopenPort();
    const FixedTarget target = link.CaptureTarget();
    platform.serialOpens["COM1"] = false;
    host.port = "changed after the start";
    CutterRun run;
    RunToEnd(run, MakeCycleDelivery(link, target), 2, 0);
    EXPECT_TRUE(host.faults.empty());
    EXPECT_EQ(run.Failures(), 2u);
    EXPECT_EQ(platform.Writes().size(), 1u);   // the reopen after the first write failed: closed
}

TEST(CutterRunLink, UsbReopensTwiceBeforeEachWrite)
{
    RecordingPlatform platform;
    FakeHost host;
    host.port = "USB";
    HostedLink link(host, platform);
    link.ReopenPort();
    platform.calls.clear();
    CutterRun run;
    RunToEnd(run, MakeCycleDelivery(link, link.CaptureTarget()), 1, 0);
    EXPECT_EQ(platform.calls, (Strings{"close", "discover", "open /dev/usb/lp0", "close", "discover",
                                       "open /dev/usb/lp0", "write " + kCycle1}));
}

TEST(CutterRunLink, NetworkCyclesEachOnAConnectionOfTheirOwn)
{
    LoopbackServer printer;
    PosixPlatform platform;
    FakeHost host;
    host.port = "Ethernet";
    HostedLink link(host, platform);
    link.SetTcpPort(printer.Port());
    CutterRun run;
    RunToEnd(run, MakeCycleDelivery(link, link.CaptureTarget()), 2, 0);
    const auto connections = printer.WaitForConnections(2);
    ASSERT_EQ(connections.size(), 2u);
    EXPECT_EQ(Hex(connections[0]), kCycle1);
    EXPECT_EQ(Hex(connections[1]), kCycle2);
    EXPECT_EQ(run.Sent(), 2u);
    EXPECT_EQ(run.Failures(), 0u);
    EXPECT_TRUE(host.messages.empty());
}

TEST(CutterRunLink, StopEndsTheRunAtOnceWhenThePrinterNeverAccepts)
{
    RefusingPrinter printer;
    CutterRun run;
    run.g_cutCount = 3;
    run.g_cutDelayMs = 0;
    ASSERT_TRUE(run.Start(printer.Deliver()));
    std::this_thread::sleep_for(std::chrono::milliseconds(350));   // several refused attempts
    const auto stopAt = Clock::now();
    run.RequestStop();
    run.Wait();
    EXPECT_LT(MsSince(stopAt), 100);
    EXPECT_EQ(run.Sent(), 0u);
    EXPECT_EQ(run.Failures(), 0u);   // stopped, not given up
    EXPECT_TRUE(printer.host.messages.empty());
}

TEST(CutterRunLink, ACycleThatNeverArrivesIsCountedSilently)
{
    RefusingPrinter printer;
    CutterRun run;
    RunToEnd(run, printer.Deliver(250), 2, 0);
    EXPECT_EQ(run.Sent(), 0u);
    EXPECT_EQ(run.Failures(), 2u);
    EXPECT_TRUE(printer.host.faults.empty());
}

TEST(CutterRunLink, NetworkSenderFaults)
{
    PosixPlatform platform;
    FakeHost host;
    HostedLink link(host, platform);
    std::stop_source source;
    const uint8_t cycle[] = {0x30};
    const auto send = [&](const char* ip, uint16_t port) {
        return link.DeliverFixed(NetTarget(ip, port), cycle, source.get_token(), 10000).fault;
    };
    EXPECT_EQ(send("", 9100), LinkFault::AddressBlank);
    EXPECT_EQ(send("127.0.0", 9100), LinkFault::AddressBlank);
    source.request_stop();
    RefusingPort refusing;
    EXPECT_EQ(send("127.0.0.1", refusing.Port()), LinkFault::Stopped);
    EXPECT_TRUE(host.faults.empty());
}

TEST(CutterRunLink, NetworkSenderHandsTheCycleToASlowPrinter)
{
    LoopbackServer printer(LoopbackServer::Options{400, {}});
    PosixPlatform platform;
    FakeHost host;
    HostedLink link(host, platform);
    std::stop_source source;
    const uint8_t cycle[] = {0x41, 0x42};
    const Outcome outcome =
        link.DeliverFixed(NetTarget("127.0.0.1", printer.Port()), cycle, source.get_token(), 10000);
    EXPECT_TRUE(outcome.ok());
    const auto connections = printer.WaitForConnections(1);
    ASSERT_EQ(connections.size(), 1u);
    EXPECT_EQ(connections[0], "AB");
}
