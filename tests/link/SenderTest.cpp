// The sender: one queue, one worker, the operator's order, outcomes handed back.
#include <gtest/gtest.h>
#include <thread>

#include "link/Sender.h"
#include "tests/support/FakeTransport.h"
#include "tests/support/RecordingPlatform.h"
#include "tests/support/Timing.h"

using namespace tallyx;
using namespace tallyx::test;

namespace {

struct Fixture {
    explicit Fixture(std::chrono::milliseconds takes = {}, Outcome outcome = {})
    {
        auto made = std::make_unique<FakeTransport>();
        made->deliverTakes = takes;
        made->deliverOutcome = outcome;
        fake = made.get();
        link.Connect(std::move(made));
    }
    RecordingPlatform platform;   // never reached: the fake stands in for the device
    Link link{platform};
    FakeTransport* fake = nullptr;
    Sender sender{link};
};

Sender::Job Send(Bytes bytes)
{
    return [bytes](Link& link, std::stop_token stop) { return link.SendToPrinter(bytes, stop); };
}

} // namespace

TEST(Sender, QuickPressesGoOnceEachInTheirOrderWithoutWaiting)
{
    Fixture f;
    for (uint8_t i = 0; i < 10; ++i) f.sender.Post(Send(Bytes{0x1B, 0x40, i}));
    ASSERT_TRUE(f.sender.WaitIdle(5000));
    EXPECT_EQ(f.fake->Delivered(), (std::vector<std::string>{"1B 40 00", "1B 40 01", "1B 40 02", "1B 40 03", "1B 40 04",
                                                             "1B 40 05", "1B 40 06", "1B 40 07", "1B 40 08", "1B 40 09"}));
}

TEST(Sender, RefusedCommandComesBackToldThenAsItsOutcome)
{
    Fixture f({}, Outcome{LinkFault::TooLong});
    const uint64_t ticket = f.sender.Post(Send(Bytes(3, 0x41)));
    ASSERT_TRUE(f.sender.WaitIdle(5000));
    const std::vector<Sender::Event> events = f.sender.Drain();
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].ticket, ticket);
    EXPECT_FALSE(events[0].done);
    EXPECT_EQ(events[0].outcome.fault, LinkFault::TooLong);
    EXPECT_TRUE(events[1].done);
    EXPECT_EQ(events[1].outcome.fault, LinkFault::TooLong) << "never reported as sent";
}

TEST(Sender, CancelStopsTheQueueBeforeItsNextCommand)
{
    Fixture f(std::chrono::milliseconds(10'000));
    for (uint8_t i = 0; i < 3; ++i) f.sender.Post(Send(Bytes{i}));
    EXPECT_FALSE(f.sender.Idle()) << "posting returned while the first is under way";
    // The first is in its long retry; the stop ends it and drops the rest.
    const int64_t took = TimedMs([&] {
        f.sender.Cancel();
        ASSERT_TRUE(f.sender.WaitIdle(5000));
    });
    EXPECT_LT(took, 1000) << "the retry's wait ends at the stop";
    EXPECT_TRUE(f.fake->Delivered().empty());
    const std::vector<Sender::Event> events = f.sender.Drain();
    ASSERT_EQ(events.size(), 3u);
    for (const Sender::Event& e : events) {
        EXPECT_TRUE(e.done);
        EXPECT_EQ(e.outcome.fault, LinkFault::Stopped);
    }
    // Work posted afterwards runs as usual.
    f.fake->deliverTakes = {};
    f.sender.Post(Send(Bytes{0x0A}));
    ASSERT_TRUE(f.sender.WaitIdle(5000));
    EXPECT_EQ(f.fake->Delivered(), std::vector<std::string>{"0A"});
}
