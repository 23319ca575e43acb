// The cutter run with a stand-in delivery: how many cycles, in what order, how it stops.
#include <gtest/gtest.h>

#include <thread>

#include "jobs/CutterRun.h"
#include "tests/jobs/RunProbe.h"

using namespace tallyx;
using namespace tallyx::test;
using Cycles = std::vector<uint32_t>;
namespace {
void Configure(CutterRun& run, uint32_t count, uint32_t delayMs)
{
    run.g_cutCount = count;
    run.g_cutDelayMs = delayMs;
}

class CutterRunTest : public ::testing::Test {
protected:
    // Starts the run with the cycle numbered `heldCycle` held at the gate; true once it is there.
    bool StartHeld(uint32_t count, uint32_t delayMs, uint32_t heldCycle)
    {
        Configure(run, count, delayMs);
        return run.Start(recorder.Deliver(&gate, heldCycle)) && gate.WaitArrived(1);
    }

    Recorder recorder;
    Gate gate;
    CutterRun run;   // last, so it is stopped and joined before the stand-ins go
};
} // namespace

TEST_F(CutterRunTest, CountOneDelayZeroSendsOneCycleThenStartsAgain)
{
    Configure(run, 1, 0);
    ASSERT_TRUE(run.Start(recorder.Deliver()));
    run.Wait();
    EXPECT_EQ(recorder.Cycles(), Cycles{1});
    EXPECT_FALSE(run.Running());
    EXPECT_EQ(run.Sent(), 1u);
    EXPECT_EQ(run.Failures(), 0u);

    Configure(run, 3, 0);
    ASSERT_TRUE(run.Start(recorder.Deliver()));
    run.Wait();
    EXPECT_EQ(recorder.Cycles(), (Cycles{1, 1, 2, 3}));   // numbering starts at 1 again
    EXPECT_EQ(run.Sent(), 3u);
}

TEST_F(CutterRunTest, ProgressAfterEveryCycle)
{
    std::vector<std::string> seen;   // written by the worker only, read after Wait
    Configure(run, 3, 0);
    run.Start(recorder.Deliver(), [&seen](const CutProgress& p) {
        if (p.ended) return;   // the final report has its own test
        seen.push_back(std::to_string(p.cycle) + ":" + std::to_string(p.sent) + "/" + std::to_string(p.count));
    });
    run.Wait();
    EXPECT_EQ(seen, (std::vector<std::string>{"0:0/3", "1:1/3", "2:2/3", "3:3/3"}));
}

TEST_F(CutterRunTest, TheLastReportSaysHowTheRunEnded)
{
    std::vector<CutProgress> last;   // written by the worker only, read after Wait
    Configure(run, 2, 0);
    run.Start(recorder.Deliver(), [&last](const CutProgress& p) { if (p.ended) last.push_back(p); });
    run.Wait();
    ASSERT_EQ(last.size(), 1u);
    EXPECT_EQ(last[0].sent, 2u);
    EXPECT_FALSE(last[0].stopped);
}

TEST_F(CutterRunTest, LoweredCountEndsTheRunAfterTheCurrentCycle)
{
    ASSERT_TRUE(StartHeld(100, 0, 3));
    run.g_cutCount = 2;   // a Start press with fewer cycles than already done
    gate.Open();
    run.Wait();
    EXPECT_EQ(recorder.Cycles(), (Cycles{1, 2, 3}));
}

TEST_F(CutterRunTest, RaisedCountIsTakenFromTheNextCycle)
{
    ASSERT_TRUE(StartHeld(2, 0, 2));
    run.g_cutCount = 4;
    gate.Open();
    run.Wait();
    EXPECT_EQ(recorder.Cycles(), (Cycles{1, 2, 3, 4}));
}

TEST_F(CutterRunTest, StopDuringALongPauseEndsTheRunAtOnce)
{
    ASSERT_TRUE(StartHeld(2, 5000, 1));
    gate.Open();
    std::this_thread::sleep_for(std::chrono::milliseconds(100));   // well into the 5050 ms pause
    const auto stopAt = Clock::now();
    run.RequestStop();
    run.Wait();
    EXPECT_LT(MsSince(stopAt), 1000);
    EXPECT_EQ(recorder.Cycles(), Cycles{1});
}

TEST_F(CutterRunTest, StopDuringADeliveryLetsThatCycleFinishAndNoOther)
{
    ASSERT_TRUE(StartHeld(5, 0, 2));
    run.RequestStop();
    EXPECT_TRUE(run.Running());
    gate.Open();
    run.Wait();
    EXPECT_EQ(recorder.Cycles(), (Cycles{1, 2}));
    EXPECT_EQ(run.Sent(), 2u);
}

TEST_F(CutterRunTest, StartDuringARunChangesNothing)
{
    Recorder second;
    ASSERT_TRUE(StartHeld(3, 0, 2));
    EXPECT_FALSE(run.Start(second.Deliver()));
    EXPECT_TRUE(run.Running());
    gate.Open();
    run.Wait();
    EXPECT_EQ(recorder.Cycles(), (Cycles{1, 2, 3}));
    EXPECT_TRUE(second.Cycles().empty());
}

TEST_F(CutterRunTest, NoSecondRunBesideAStoppedOneStillFinishingItsCycle)
{
    ASSERT_TRUE(StartHeld(10, 0, 1));
    run.RequestStop();                               // a new opening flags the old run
    EXPECT_FALSE(run.Start(recorder.Deliver()));     // refused until it has ended
    gate.Open();
    run.Wait();
    Configure(run, 2, 0);
    ASSERT_TRUE(run.Start(recorder.Deliver()));
    run.Wait();
    EXPECT_EQ(recorder.Cycles(), (Cycles{1, 1, 2}));
    EXPECT_EQ(recorder.MostAtOnce(), 1);
}

TEST(CutterRun, FailedCyclesAreCountedAndTheRunGoesOn)
{
    CutterRun run;
    Configure(run, 3, 0);
    std::vector<uint32_t> tried;
    run.Start([&tried](const Bytes& cycle, std::stop_token) {
        tried.push_back(CycleNumber(cycle));
        return CycleNumber(cycle) == 2 ? Outcome{LinkFault::NotReached, 111} : Outcome{};
    });
    run.Wait();
    EXPECT_EQ(tried, (Cycles{1, 2, 3}));
    EXPECT_EQ(run.Sent(), 2u);
    EXPECT_EQ(run.Failures(), 1u);
}

TEST(CutterRun, DestroyingTheOwnerStopsAndJoinsTheRun)
{
    Recorder recorder;
    const auto start = Clock::now();
    {
        CutterRun run;
        Configure(run, 5, 5000);
        run.Start(recorder.Deliver());
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    EXPECT_LT(MsSince(start), 2000);
    EXPECT_EQ(recorder.Cycles(), Cycles{1});
}
