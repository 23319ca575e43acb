// The window on its sender: a press returns while the printer is still being tried, and a
// disconnect drops what was not yet sent.
#include <QAbstractButton>
#include <QTest>

#include "link/PosixPlatform.h"
#include "res/MainWindowIds.h"
#include "tests/app/AppFixture.h"
#include "tests/support/FakeTransport.h"
#include "tests/support/LoopbackServer.h"
#include "ui/IpAddressCtrl.h"

namespace tallyx::test {
namespace {

class SenderWiring : public AppTest {
protected:
    void Click(int id) { qobject_cast<QAbstractButton*>(Ctl(id))->click(); }
};

TEST_F(SenderWiring, APressDuringANetworkRetryIsAnsweredAndTheFailureStillShown)
{
    PosixPlatform real;
    ConnectToAPrinterThatGoes(real, 500);
    Click(id::main::kInit);
    EXPECT_FALSE(dlg->GetSender().Idle()) << "the press returned while its command is being tried";
    Click(id::main::kSelfTestPage);   // taken while the first retries
    EXPECT_TRUE(boxes.shown.empty());
    Settle();
    EXPECT_EQ(Shown(), (std::vector<std::string>{"打印机设置工具|与打印机连接不成功!",
                                                 "打印机设置工具|与打印机连接不成功!"}));
    dlg.reset();   // before the platform it stands on
}

TEST_F(SenderWiring, DisconnectDropsTheCommandsNotYetSentAndClosesThePort)
{
    ConnectOn("COM1");
    // The port stands in for a printer that takes ten seconds a command.
    auto slow = std::make_unique<FakeTransport>();
    slow->deliverTakes = std::chrono::milliseconds(10'000);
    FakeTransport* fake = slow.get();
    dlg->GetLink().Connect(std::move(slow));
    for (int id : {id::main::kInit, id::main::kSelfTestPage, id::main::kInit}) Click(id);
    Click(id::main::kConnect);   // "断 开"
    EXPECT_EQ(qobject_cast<QAbstractButton*>(Ctl(id::main::kConnect))->text(), "连 接");
    Settle();
    EXPECT_TRUE(fake->Delivered().empty()) << "nothing written after the disconnect";
    EXPECT_EQ(fake->Closes(), 1);
    EXPECT_TRUE(boxes.shown.empty());
}

} // namespace
} // namespace tallyx::test
