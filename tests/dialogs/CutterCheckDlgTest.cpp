// The cutter dialog's wiring: its checks in their order, the run started on the main
// window's run with the edits' values, the progress line, and how closing stops it.
#include <QApplication>
#include <QAccessible>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include <chrono>
#include <tuple>

#include "dialogs/CCutterCheckDlg.h"
#include "tests/dialogs/MaintenanceDlgFixture.h"
#include "tests/support/CutCycles.h"
#include "tests/support/Timing.h"
#include "tests/support/LinkAccess.h"

using namespace tallyx;
using namespace tallyx::test;

namespace {

class CutterCheckDlgTest : public MaintenanceDlgTest {
protected:
    ~CutterCheckDlgTest() override
    {
        run.RequestStop();   // the worker is done with the platform before it goes
        run.Wait();
    }

    QLineEdit* Edit(int id) const { return qobject_cast<QLineEdit*>(dialog->Control(id)); }
    QString Progress() const { return qobject_cast<QLabel*>(dialog->Control(1083))->text(); }
    void Start(const QString& count, const QString& delay)
    {
        Edit(1081)->setText(count);
        Edit(1082)->setText(delay);
        Press(dialog->Control(1003));
    }
    // Bounded wait, handing queued progress to the dialog meanwhile.
    template <class Done>
    bool Until(Done done, int ms = 5000)
    {
        const auto end = Clock::now() + std::chrono::milliseconds(ms);
        while (!done() && Clock::now() < end) QTest::qWait(10);
        return done();
    }
    // Idle again: the next press starts a new run from cycle 1.
    void RunOneCycleFromTheStart()
    {
        platform.calls.clear();
        Start("1", "0");
        ASSERT_TRUE(Until([&] { return Progress() == "已发送 1/1"; }));
        run.Wait();
        EXPECT_EQ(Writes(), Strings{kCycle1});
    }
    static int64_t MsSince(Clock::time_point t)
    {
        return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - t).count();
    }

    CutterRun run;   // the main window's
    std::unique_ptr<CCutterCheckDlg> dialog = std::make_unique<CCutterCheckDlg>(run, sender, nullptr);
};

} // namespace

TEST_F(CutterCheckDlgTest, OpensWithTwoCyclesAThousandMillisecondsApart)
{
    EXPECT_EQ(dialog->windowTitle(), "Cutter Check");
    EXPECT_EQ(Edit(1081)->text(), "2");
    EXPECT_EQ(Edit(1082)->text(), "1000");
    EXPECT_EQ(qobject_cast<QLabel*>(dialog->Control(1079))->text(), "测试次数:");
    EXPECT_EQ(qobject_cast<QLabel*>(dialog->Control(1080))->text(), "两刀之间的延时:");
    EXPECT_EQ(qobject_cast<QPushButton*>(dialog->Control(1003))->text(), "开始测试");
    EXPECT_EQ(Progress(), "");
}

TEST_F(CutterCheckDlgTest, RefusalsInTheirOrderNothingStarted)
{
    const std::tuple<const char*, const char*, const char*> rows[] = {
        {"100000", "1000", "CUTTER_DIALOG|不适用的范围，最大为99999次！"},
        {"0", "1000", "CUTTER_DIALOG|不适用的范围，最小为1次！"},
        {"1", "5001", "CUTTER_DIALOG|延时不对，最大延时是5000ms"},
        {"100000", "5001", "CUTTER_DIALOG|不适用的范围，最大为99999次！"},
        {"0", "9000", "CUTTER_DIALOG|不适用的范围，最小为1次！"},
    };
    for (const auto& [count, delay, expected] : rows) {
        SCOPED_TRACE(std::string(count) + " " + delay);
        boxes.shown.clear();
        Start(count, delay);
        EXPECT_EQ(Shown(), Strings{expected});
        EXPECT_EQ(boxes.shown[0].owner, dialog.get());
        EXPECT_FALSE(run.Running());
        EXPECT_EQ(Edit(1081)->text(), count);
    }
    EXPECT_TRUE(platform.calls.empty());
}

TEST_F(CutterCheckDlgTest, PortCheckComesFirst)
{
    BreakPort();
    Start("0", "9000");
    EXPECT_EQ(host.messages, Strings{kPortBusyShown});
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_FALSE(run.Running());
    EXPECT_TRUE(platform.calls.empty());
    EXPECT_TRUE(LinkTestAccess::Port(link).IsNone());
}

TEST_F(CutterCheckDlgTest, RunsTheCyclesAndCountsThemUnderTheButton)
{
    Start("3", "0");
    ASSERT_TRUE(Until([&] { return Progress() == "完成，已发送 3/3"; })) << Progress().toStdString();
    run.Wait();
    EXPECT_EQ(Writes(), (Strings{kCycle1, kCycle2, kCycle3}));
    EXPECT_TRUE(boxes.shown.empty());
    RunOneCycleFromTheStart();
}

TEST_F(CutterCheckDlgTest, TheFinalLineCountsTheCyclesThatFailed)
{
    // The printer goes after the first write: the reopen fails, the next cycle finds no port.
    platform.serialOpens["COM1"] = false;
    Start("2", "0");
    ASSERT_TRUE(Until([&] { return Progress() == "完成，已发送 0/2，失败 2 次"; })) << Progress().toStdString();
    run.Wait();
    EXPECT_EQ(Writes(), Strings{kCycle1});
    EXPECT_TRUE(boxes.shown.empty()) << "the run shows no box from its thread";
}

TEST_F(CutterCheckDlgTest, AFieldThatIsNoNumberKeepsItsValueAndTheStepsGoOn)
{
    Start("two", "0");
    EXPECT_EQ(Shown(), Strings{"tallyx|请输入一个无符号整数。"});
    ASSERT_TRUE(Until([&] { return Progress() == "完成，已发送 2/2"; }));   // the count stayed 2
    run.Wait();
    EXPECT_EQ(Writes(), (Strings{kCycle1, kCycle2}));
}

TEST_F(CutterCheckDlgTest, StartDuringARunOnlyChangesTheCount)
{
    Start("100", "100");
    ASSERT_TRUE(Until([&] { return run.Sent() >= 1; }));
    Start("1", "0");   // fewer than already done: the run ends after its current cycle
    ASSERT_TRUE(Until([&] { return !run.Running(); }));
    run.Wait();
    EXPECT_LE(run.Sent(), 3u);
    EXPECT_EQ(Writes().size(), run.Sent());
    // The lowered count ends the run with the final line, not a stale "已发送 N/100".
    const QString last = QStringLiteral("完成，已发送 %1/1").arg(run.Sent());
    ASSERT_TRUE(Until([&] { return Progress() == last; })) << Progress().toStdString();
    EXPECT_EQ(QAccessible::queryAccessibleInterface(dialog->Control(1083))->text(QAccessible::Name), last);
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(CutterCheckDlgTest, CloseBoxDuringALongPauseStopsTheRun)
{
    dialog->show();
    Start("2", "5000");
    ASSERT_TRUE(Until([&] { return run.Sent() == 1; }));
    const auto closedAt = Clock::now();
    dialog->close();
    EXPECT_FALSE(dialog->isVisible());
    run.Wait();
    EXPECT_LT(MsSince(closedAt), 2000);
    EXPECT_EQ(Writes(), Strings{kCycle1});
}

TEST_F(CutterCheckDlgTest, EscLeavesTheRunGoingAfterTheDialogIsGone)
{
    dialog->show();
    Start("2", "300");
    ASSERT_TRUE(Until([&] { return run.Sent() == 1; }));
    QTest::keyClick(dialog.get(), Qt::Key_Escape);
    EXPECT_FALSE(dialog->isVisible());
    dialog.reset();
    EXPECT_TRUE(run.Running());
    run.Wait();
    EXPECT_EQ(Writes(), (Strings{kCycle1, kCycle2}));
    QTest::qWait(20);   // progress posted to a dialog that is gone is dropped
}

TEST_F(CutterCheckDlgTest, ReopeningStopsARunLeftGoingAndStartsAfresh)
{
    dialog->show();
    Start("5", "5000");
    ASSERT_TRUE(Until([&] { return run.Sent() == 1; }));
    QTest::keyClick(dialog.get(), Qt::Key_Escape);
    const auto reopenedAt = Clock::now();
    dialog = std::make_unique<CCutterCheckDlg>(run, sender, nullptr);
    EXPECT_EQ(Edit(1081)->text(), "2");
    EXPECT_EQ(Edit(1082)->text(), "1000");
    ASSERT_TRUE(Until([&] { return !run.Running(); }));
    EXPECT_LT(MsSince(reopenedAt), 2000);
    EXPECT_EQ(Writes(), Strings{kCycle1});
    run.Wait();
    RunOneCycleFromTheStart();
}

TEST_F(CutterCheckDlgTest, ReturnKeepsTheDialogOpen)
{
    dialog->show();
    QTest::keyClick(Edit(1081), Qt::Key_Return);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_FALSE(run.Running());
}
