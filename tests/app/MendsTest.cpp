// What the operator must be able to rely on: repetitions not overtaken by later clicks,
// one message per failed command, success only after a delivery, boxes owned by the
// window the operator is looking at, and every link fault shown from its row.
#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QCoreApplication>
#include <QTimer>

#include <future>

#include "dialogs/CNvLogoDlg.h"
#include "res/Faults.h"
#include "res/MainWindowIds.h"
#include "res/NvLogoIds.h"
#include "tests/app/AppFixture.h"
#include "tests/support/BmpWriter.h"
#include "ui/IpAddressCtrl.h"

namespace tallyx::test {
namespace {

class Mends : public AppTest {
public:
    // A fresh window on a fresh platform, for the next row of a table.
    void TearDownWindow()
    {
        dlg.reset();
        boxes.shown.clear();
        platform = RecordingPlatform{};
        dlg = std::make_unique<CPosToolDlg>(&platform);
    }
    void ConnectEthernet()
    {
        platform.reply = FromHex("C0 A8 01 C8 FF FF FF 00 C0 A8 01 01 08 08 08 08 02 00 00 00 00 00");
        SelectItem(id::main::kPort, "Ethernet");
        AddressAt(id::main::kPrinterAddress)->SetAddress(0x7F000001);
        Press(id::main::kConnect);
        platform.sockets.clear();
        platform.calls.clear();
    }
    // Connected over Ethernet, the operator presses `button` while the first of three
    // self-test pages is going out (the sender holds in its first send until then).
    void PressDuringThreeSelfTests(int button)
    {
        ConnectEthernet();
        SendCount()->setText("3");
        std::promise<void> sending;
        std::promise<void> pressed;
        std::shared_future<void> gate = pressed.get_future().share();
        platform.onSend = [&sending, gate, first = true]() mutable {
            if (!first) return;
            first = false;
            sending.set_value();
            gate.wait();
        };
        qobject_cast<QAbstractButton*>(Ctl(id::main::kSelfTest))->click();
        sending.get_future().wait();
        qobject_cast<QAbstractButton*>(Ctl(button))->click();
        pressed.set_value();
        Settle();
        platform.onSend = nullptr;
    }
    // Connected over Ethernet, `spoil` spoils the link, then "初始化打印机" is pressed.
    void InitOverEthernetAfter(const std::function<void()>& spoil)
    {
        ConnectEthernet();
        spoil();
        Press(id::main::kInit);
        QCoreApplication::processEvents();
    }
    std::vector<std::string> Wire() const
    {
        std::vector<std::string> out;
        for (const Bytes& b : platform.sockets)
            if (!b.empty()) out.push_back(Hex(b));
        return out;
    }
};

TEST_F(Mends, RepetitionsRunBeforeTheNextClick)
{
    PressDuringThreeSelfTests(id::main::kInit);   // "初始化打印机"
    EXPECT_EQ(Wire(), (std::vector<std::string>{"1F 11 04 0A", "1F 11 04 0A", "1F 11 04 0A", "1B 40 0A"}));
}

// The page going out when "断 开" is pressed ends; the repetitions behind it are dropped.
TEST_F(Mends, ADisconnectDropsTheRepetitionsNotBegun)
{
    PressDuringThreeSelfTests(id::main::kConnect);   // "断 开"
    EXPECT_EQ(Wire(), std::vector<std::string>{"1F 11 04 0A"});
    EXPECT_FALSE(dlg->GetLink().IsConnected());
}

TEST_F(Mends, AnUnreachablePrinterEndsTheRepetitionsWithOneMessage)
{
    ConnectEthernet();
    platform.refuse = true;
    SendCount()->setText("50");
    Press(id::main::kSelfTest);
    QCoreApplication::processEvents();
    EXPECT_EQ(Shown(), (std::vector<std::string>{"打印机设置工具|与打印机连接不成功!"}));
    EXPECT_LT(platform.now, 2 * 3500);   // one command's bound, not fifty
}

TEST_F(Mends, TheSaveClosesAtOnceAfterItsSend)
{
    ConnectEthernet();
    const int64_t before = platform.now;
    Press(id::main::kSave);
    ASSERT_EQ(Wire().size(), 1u);
    EXPECT_EQ(platform.now - before, 80);   // the wait before the send, and no closing pause
}

TEST_F(Mends, NoSuccessMessageAfterAFailedDelivery)
{
    const std::string bmp = WriteBmp(AllBlack(8, 8), "mends-logo.bmp");
    ConnectEthernet();
    platform.refuse = true;
    CNvLogoDlg logo(dlg->GetSender(), dlg.get());
    logo.m_strBmpPath = QString::fromStdString(bmp);
    logo.OnDownloadLogo();
    logo.OnClearLogo();
    Settle();
    EXPECT_EQ(Shown(), (std::vector<std::string>{"打印机设置工具|与打印机连接不成功!",
                                                 "打印机设置工具|与打印机连接不成功!"}));
}

TEST_F(Mends, APortFailureInsideADialogIsOwnedByTheDialog)
{
    platform.usbOpens = false;
    ConnectOn("USB");
    CNvLogoDlg logo(dlg->GetSender(), dlg.get());
    QTimer::singleShot(0, [&] {
        logo.OnPrintLogo();
        logo.reject();
    });
    logo.exec();
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, "此端口被占用或已损坏");
    EXPECT_EQ(boxes.shown[0].owner, &logo);
}

// Each fault the window can meet is shown from its row: caption, text and focus.
TEST_F(Mends, EachFaultIsShownFromItsRow)
{
    const struct {
        LinkFault fault;
        std::function<void()> act;
    } rows[] = {
        {LinkFault::PortBusy, [this] { platform.serialOpens["COM2"] = false; ConnectOn("COM2"); }},
        {LinkFault::UsbOpenFailed, [this] { platform.usbOpens = false; ConnectOn("USB"); Press(id::main::kInit); }},
        {LinkFault::NoUsbDevice, [this] { platform.usb.result = UsbFind::NoInterface; ConnectOn("USB"); }},
        {LinkFault::AddressBlank, [this] {
             SelectItem(id::main::kPort, "Ethernet");
             AddressAt(id::main::kPrinterAddress)->ClearAddress();
             Press(id::main::kConnect);
         }},
        {LinkFault::AddressIncomplete, [this] {
             SelectItem(id::main::kPort, "Ethernet");
             AddressAt(id::main::kPrinterAddress)->ClearAddress();
             AddressAt(id::main::kPrinterAddress)->Field(0)->setText("10");
             Press(id::main::kConnect);
         }},
        {LinkFault::SendAddressIncomplete, [this] {
             InitOverEthernetAfter([this] { AddressAt(id::main::kPrinterAddress)->Field(3)->clear(); });
         }},
        {LinkFault::SocketFailed, [this] { InitOverEthernetAfter([this] { platform.socketOpens = false; }); }},
        {LinkFault::NotReached, [this] { InitOverEthernetAfter([this] { platform.refuse = true; }); }},
        {LinkFault::CutOff, [this] { InitOverEthernetAfter([this] { platform.cutAfterBytes = 1; }); }},
        {LinkFault::SaveFailed, [this] {
             ConnectEthernet();
             platform.refuse = true;
             Press(id::main::kSave);
         }},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(FaultRow(row.fault).text));
        TearDownWindow();
        ShowActive();
        row.act();
        const FaultText& expected = FaultRow(row.fault);
        ASSERT_EQ(boxes.shown.size(), 1u);
        EXPECT_EQ(boxes.shown[0].caption, expected.caption);
        EXPECT_EQ(boxes.shown[0].text, expected.text);
        if (expected.focusId != 0 && Ctl(expected.focusId)->isEnabled()) {   // a disabled control takes no focus
            QWidget* focus = dlg->focusWidget();
            ASSERT_NE(focus, nullptr);
            EXPECT_TRUE(Ctl(expected.focusId)->isAncestorOf(focus) || focus == Ctl(expected.focusId));
        }
    }
}

} // namespace
} // namespace tallyx::test
