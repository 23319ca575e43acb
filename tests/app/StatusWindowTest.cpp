// The status window's wiring: each item shown from the printer's answers, read by what it
// shows; nothing asked while not connected or while the cutter run uses the link.
#include <QAccessible>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include "app/StatusWindow.h"
#include "jobs/CycleDelivery.h"
#include "res/MainWindowIds.h"
#include "tests/app/AppFixture.h"

namespace tallyx::test {
namespace {

class StatusWindowTest : public AppTest {
protected:
    QString Value(size_t item) const { return window->Value(item)->text(); }
    QString Read(QWidget* w) const { return QAccessible::queryAccessibleInterface(w)->text(QAccessible::Name); }
    std::unique_ptr<StatusWindow> window =
        std::make_unique<StatusWindow>(dlg->GetSender(), dlg->GetCutterRun(), nullptr);
};

TEST_F(StatusWindowTest, ShowsEachItemFromTheAnswers)
{
    ConnectOn("COM1");
    // Cover open and paper out; GS I answered with its number.
    platform.respond = [](const Bytes& r) -> Bytes {
        if (r[0] == 0x10) return {r[2] == 2 ? uint8_t(0x16) : r[2] == 4 ? uint8_t(0x7E) : r[2] == 1 ? uint8_t(0x1A) : uint8_t(0x12)};
        return {'_', 'X', r[2], 0};
    };
    window->RefreshButton()->click();
    Settle();
    EXPECT_EQ(Value(0), "脱机");
    EXPECT_EQ(Value(1), "打开");
    EXPECT_EQ(Value(2), "缺纸");
    EXPECT_EQ(Value(5), "无");
    EXPECT_EQ(Value(6), "XC");
    EXPECT_EQ(Value(9), "XD");
    EXPECT_EQ(Read(window->Value(2)), "缺纸") << "read by what it shows";
    EXPECT_EQ(Read(window->Indicator(2)), "纸: 故障");
    EXPECT_TRUE(window->Line()->text().startsWith("查询于 "));
    EXPECT_EQ(Read(window->Line()), window->Line()->text());
    EXPECT_TRUE(boxes.shown.empty()) << "the window shows no message box";
}

TEST_F(StatusWindowTest, SilentPrinterNotConnectedAndCutterRunSayWhy)
{
    window->Refresh();
    Settle();
    EXPECT_EQ(window->Line()->text(), "未连接打印机");
    EXPECT_TRUE(platform.Writes().empty());

    ConnectOn("COM1");
    platform.respond = [](const Bytes&) { return Bytes{}; };
    window->Refresh();
    Settle();
    EXPECT_EQ(window->Line()->text(), "打印机无应答");
    EXPECT_EQ(Value(0), "—");

    platform.calls.clear();
    CutterRun& run = dlg->GetCutterRun();
    run.g_cutDelayMs = 5000;
    ASSERT_TRUE(run.Start([](const Bytes&, std::stop_token) { return Outcome{}; }));
    window->Refresh();
    Settle();
    EXPECT_EQ(window->Line()->text(), "切刀测试正在使用连接，暂不查询");
    EXPECT_TRUE(platform.Writes().empty());
    run.RequestStop();
    run.Wait();
}

// The identity is asked on "刷新" only: a printer that does not know GS I would otherwise add
// a reply bound to every tick.
TEST_F(StatusWindowTest, AutoRefreshAsksTheStatusAloneAndKeepsTheIdentityShown)
{
    ConnectOn("COM1");
    bool coverOpen = false;
    platform.respond = [&](const Bytes& r) -> Bytes {
        if (r[0] == 0x10) return {uint8_t(r[2] == 2 && coverOpen ? 0x16 : 0x12)};
        return {'_', 'X', r[2], 0};
    };
    window->RefreshButton()->click();
    Settle();
    ASSERT_EQ(Value(6), "XC");
    coverOpen = true;
    platform.calls.clear();
    window->AutoRefreshBox()->setChecked(true);
    QMetaObject::invokeMethod(window->findChild<QTimer*>(), "timeout");
    Settle();
    window->AutoRefreshBox()->setChecked(false);
    EXPECT_EQ(Value(1), "打开") << "the status is asked";
    EXPECT_EQ(Value(6), "XC") << "the identity shown stays";
    for (const std::string& written : platform.Writes()) EXPECT_TRUE(written.starts_with("10 04")) << written;
    EXPECT_EQ(platform.Writes().size(), 4u);
}

TEST_F(StatusWindowTest, AutoRefreshEveryTwoSeconds)
{
    EXPECT_EQ(window->AutoRefreshBox()->text(), "自动刷新");
    window->AutoRefreshBox()->setChecked(true);
    const auto* timer = window->findChild<QTimer*>();
    ASSERT_NE(timer, nullptr);
    EXPECT_TRUE(timer->isActive());
    EXPECT_EQ(timer->interval(), 2000);
    window->AutoRefreshBox()->setChecked(false);
    EXPECT_FALSE(timer->isActive());
}

} // namespace
} // namespace tallyx::test
