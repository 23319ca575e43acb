// Every wait of the link ends soon after a stop is requested, so a worker can be stopped
// while the printer does not answer.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "link/PosixPlatform.h"
#include "tests/support/EthernetLink.h"
#include "tests/support/LoopbackServer.h"
#include "tests/support/Timing.h"
#include "tests/support/LinkAccess.h"
#include "jobs/PrinterQueries.h"

using namespace tallyx;
using namespace tallyx::test;

namespace {

constexpr auto kStopBound = std::chrono::milliseconds(50);
constexpr auto kStopAfter = std::chrono::milliseconds(120);

struct Fixture : EthernetLink<> {
    using EthernetLink::EthernetLink;
    std::stop_source stop;
};

// Runs work, requests a stop after kStopAfter, and returns how long work went on after it.
template <class Work>
Clock::duration TimeAfterStop(std::stop_source& stop, Work work)
{
    Clock::time_point requested;
    std::jthread stopper([&] {
        std::this_thread::sleep_for(kStopAfter);
        requested = Clock::now();
        stop.request_stop();
    });
    work();
    const Clock::time_point done = Clock::now();
    stopper.join();
    return done - requested;
}

} // namespace

TEST(LinkStop, SendToAPrinterThatNeverAcceptsEndsAtTheStop)
{
    RefusingPort printer;
    Fixture f(printer.Port());
    f.link.UseTarget(f.link.HostTarget());
    LinkTestAccess::NetLen(f.link) = 3;
    Outcome outcome;
    const auto late = TimeAfterStop(f.stop, [&] { outcome = f.link.SendPendingNetData(f.stop.get_token()); });
    EXPECT_LT(late, kStopBound);
    EXPECT_EQ(outcome.fault, LinkFault::Stopped);
    EXPECT_TRUE(f.host.messages.empty());   // a stop is nobody's fault
}

TEST(LinkStop, NetworkQueryEndsAtTheStop)
{
    RefusingPort printer;
    Fixture f(printer.Port());
    ConnectOutcome outcome;
    const auto late = TimeAfterStop(f.stop, [&] { outcome = f.link.Connect(NetworkParamQuery(), f.stop.get_token()); });
    EXPECT_LT(late, kStopBound);
    EXPECT_FALSE(outcome.connected);
    EXPECT_EQ(outcome.outcome.fault, LinkFault::Stopped);
}

TEST(LinkStop, PauseAfterASendEndsAtTheStop)
{
    LoopbackServer printer;
    Fixture f(printer.Port());
    const uint8_t cycle[] = {0x1B, 0x40, 0x0A};
    const FixedTarget target{TargetFromChoices("Ethernet", "", AddressEntry::FromValue(0x7F000001), printer.Port()), 0};
    Outcome outcome;
    // Sent at once; the 300 ms pause behind it is cut short by the stop at 120 ms.
    const auto late =
        TimeAfterStop(f.stop, [&] { outcome = f.link.DeliverFixed(target, cycle, f.stop.get_token(), 3000); });
    EXPECT_LT(late, kStopBound);
    EXPECT_TRUE(outcome.ok());
    EXPECT_EQ(printer.WaitForConnections(1), (std::vector<std::string>{"\x1B\x40\n"}));
}

TEST(LinkStop, WithoutAStopThePauseIsWholeAndSendsRetry)
{
    RecordingPlatform platform;
    FakeHost host;
    host.port = "Ethernet";
    HostedLink link(host, platform);
    platform.connectAfterMs = 500;   // a printer still starting up
    link.UseTarget(link.HostTarget());
    LinkTestAccess::NetLen(link) = 1;
    EXPECT_TRUE(link.SendPendingNetData().ok());
    EXPECT_GE(platform.now, 500 + 300);
}
