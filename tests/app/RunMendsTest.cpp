// The cutter run left going beside the main window, and the send log of a USB printer
// that cannot be opened: what the window does while a run is out of sight.
#include <QAbstractButton>
#include <QApplication>
#include <QCoreApplication>
#include <QLineEdit>
#include <QTest>

#include <chrono>

#include "app/SendLogStore.h"
#include "link/PosixPlatform.h"
#include "res/CutterIds.h"
#include "res/MainWindowIds.h"
#include "tests/app/AppFixture.h"
#include "tests/support/LinkAccess.h"
#include "tests/support/LoopbackServer.h"
#include "ui/IpAddressCtrl.h"

namespace tallyx::test {
namespace {

using Clock = std::chrono::steady_clock;

int64_t MsSince(Clock::time_point t)
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - t).count();
}

template <class Done>
bool Until(Done done, int ms)
{
    const auto end = Clock::now() + std::chrono::milliseconds(ms);
    while (!done() && Clock::now() < end) QTest::qWait(10);
    return done();
}

class RunMends : public AppTest {
protected:
    // Opens the cutter dialog, starts `count` cycles `delay` ms apart and leaves with Esc.
    void StartAndLeave(const char* count, const char* delay)
    {
        WithModal([&] { Press(id::main::kCutterCheck); },
                  [&](QWidget* modal) {
                      for (QLineEdit* e : modal->findChildren<QLineEdit*>()) {
                          if (e->accessibleDescription() == QString::number(id::cutter::kCount)) e->setText(count);
                          if (e->accessibleDescription() == QString::number(id::cutter::kDelay)) e->setText(delay);
                      }
                      for (QAbstractButton* b : modal->findChildren<QAbstractButton*>())
                          if (b->accessibleDescription() == QString::number(id::cutter::kStart)) b->click();
                  });
    }
};

TEST_F(RunMends, DisconnectEndsAnEscLeftRunAndThePortStaysClosed)
{
    ConnectOn("COM1");
    StartAndLeave("12", "300");
    CutterRun& run = dlg->GetCutterRun();
    ASSERT_TRUE(Until([&] { return run.Sent() >= 1; }, 5000));
    Press(id::main::kConnect);   // "断 开"
    EXPECT_FALSE(run.Running()) << "the run ends before the button says 连 接";
    const std::vector<std::string> atDisconnect = platform.calls;
    ASSERT_FALSE(atDisconnect.empty());
    EXPECT_EQ(atDisconnect.back(), "close");
    QTest::qWait(700);   // two more cycles' time
    EXPECT_EQ(platform.calls, atDisconnect) << "nothing written or opened after the disconnect";
    EXPECT_TRUE(LinkTestAccess::Port(dlg->GetLink()).IsNone());
    EXPECT_LT(run.Sent(), 12u);
}

TEST_F(RunMends, AWindowCommandDuringARetryingNetworkRunTakesNoLonger)
{
    PosixPlatform real;
    ConnectToAPrinterThatGoes(real, 300);
    StartAndLeave("1", "0");   // its cycle keeps retrying for ten seconds
    QTest::qWait(100);
    const auto pressed = Clock::now();
    Press(id::main::kSelfTest);
    ASSERT_TRUE(Until([&] { return !boxes.shown.empty(); }, 12000));
    EXPECT_LT(MsSince(pressed), 2500) << "the window waited for the run's retries";
    EXPECT_EQ(Shown(), (std::vector<std::string>{"打印机设置工具|与打印机连接不成功!"}));
    dlg.reset();   // before the platform it stands on
}

TEST_F(RunMends, TheSendLogSaysWhenAUsbSendWentNowhere)
{
    SendLogStore log;
    log.Attach(dlg->GetLink());
    platform.usbOpens = false;
    ConnectOn("USB");
    Press(id::main::kInit);   // reports the failed open: the box of the application
    Press(id::main::kInit);   // reopens twice, fails, writes nothing: silent
    EXPECT_EQ(Shown(), (std::vector<std::string>{"tallyx|此端口被占用或已损坏"}));
    const std::vector<std::string> lines = log.Lines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_NE(lines[0].find("\"outcome\":\"UsbOpenFailed\""), std::string::npos) << lines[0];
    EXPECT_NE(lines[1].find("\"outcome\":\"NotWritten\""), std::string::npos) << lines[1];
    EXPECT_EQ(platform.Writes(), std::vector<std::string>{});
}

} // namespace
} // namespace tallyx::test
