// Connect and the command buttons on a recording platform: the chosen item reaches
// the builder and the bytes reach the port.
#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>

#include "res/MainWindowIds.h"
#include "tests/app/AppFixture.h"
#include "ui/IpAddressCtrl.h"

namespace tallyx::test {
namespace {

using CommandWiring = AppTest;

const int kCommandSet[] = {1041, 1043, 1044, 1042, 1040, 1077, 1045, 1047, 1048, 1018, 1019, 1051, 1053, 1054,
                           1056, 1057, 1058, 1059, 1060, 1067, 1068, 1069, 1070, 1073, 1078, 1071, 1079, 1080};

QString Caption(QWidget* w) { return qobject_cast<QAbstractButton*>(w)->text(); }

TEST_F(CommandWiring, SerialConnectAndDisconnectSwitchTheWindow)
{
    ConnectOn("COM1");
    EXPECT_EQ(platform.calls, (std::vector<std::string>{"open COM1", "configure 115200"}));
    EXPECT_EQ(Caption(Ctl(id::main::kConnect)), "断 开");
    EXPECT_EQ(Ctl(id::main::kConnect)->accessibleName(), "断 开");
    EXPECT_FALSE(Ctl(id::main::kPort)->isEnabled());
    EXPECT_FALSE(Ctl(id::main::kBaud)->isEnabled());
    for (int id : kCommandSet) EXPECT_TRUE(Ctl(id)->isEnabled()) << id;
    EXPECT_FALSE(Ctl(id::main::kSave)->isEnabled());
    EXPECT_TRUE(dlg->GetLink().IsConnected());

    Press(id::main::kConnect);
    EXPECT_EQ(platform.calls.back(), "close");
    EXPECT_EQ(Caption(Ctl(id::main::kConnect)), "连 接");
    EXPECT_TRUE(Ctl(id::main::kPort)->isEnabled());
    EXPECT_TRUE(Ctl(id::main::kBaud)->isEnabled());   // serial: the baud rate can be chosen again
    for (int id : kCommandSet) EXPECT_FALSE(Ctl(id)->isEnabled()) << id;
    EXPECT_FALSE(dlg->GetLink().IsConnected());
    EXPECT_TRUE(Shown().empty());
}

TEST_F(CommandWiring, UsbDisconnectLeavesTheBaudComboOff)
{
    ConnectOn("USB");
    EXPECT_EQ(Caption(Ctl(id::main::kConnect)), "断 开");
    Press(id::main::kConnect);
    EXPECT_FALSE(Ctl(id::main::kBaud)->isEnabled());
    EXPECT_FALSE(AddressAt(id::main::kPrinterAddress)->isEnabled());
}

TEST_F(CommandWiring, AFailedConnectStaysDisconnected)
{
    platform.serialOpens["COM3"] = false;
    ConnectOn("COM3");
    EXPECT_EQ(Shown(), (std::vector<std::string>{"警告|此端口被占用或已损坏"}));
    EXPECT_EQ(Caption(Ctl(id::main::kConnect)), "连 接");
    EXPECT_TRUE(Ctl(id::main::kPort)->isEnabled());
    for (int id : kCommandSet) EXPECT_FALSE(Ctl(id)->isEnabled()) << id;
}

TEST_F(CommandWiring, ATypedPortNameIsOpenedAsItStands)
{
    SelectItem(id::main::kPort, "COM1");
    ComboAt(id::main::kPort)->setEditText("COM7");
    ComboAt(id::main::kBaud)->setEditText("12345");
    Press(id::main::kConnect);
    EXPECT_EQ(platform.calls, (std::vector<std::string>{"open COM7", "configure 9600"}));
}

TEST_F(CommandWiring, ButtonsSendTheirBytesWithTheChosenItem)
{
    ConnectOn("COM1");
    const struct {
        int combo;
        const char* item;
        int button;
        const char* bytes;
    } rows[] = {
        {1032, "Chinese", 1041, "1B 4E 03 01"},
        {1032, "ASCII", 1041, "1B 4E 03 00"},
        {1046, "115200", 1045, "1B 4E 01 05"},
        {1046, "4800", 1045, "1B 4E 01 00"},
        {1062, "3倍", 1060, "1D 21 22"},
        {1034, "OFF", 1044, "1F 1B 12 00"},
        {1033, "OFF", 1043, "1F 1B 11 00"},
        {1035, "Level1", 1042, "1B 4E 04 01"},
        {1049, "Font_3", 1048, "1F 1B 1F FA 02"},
        {1061, "居中对齐", 1059, "1B 61 01"},
        {0, "", 1079, "1B 70 00 30 30 00 1B 70 01 30 30"},
        {0, "", 1051, "1B 40 0A"},
        {0, "", 1053, "1B 2D 02 1C 2D 02 0A"},
        {0, "", 1040, "1F 11 04"},
        {0, "", 1018, "1F 11 03"},
        {0, "", 1080, "1B 42 03 02"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.button);
        if (row.combo) SelectItem(row.combo, QString::fromUtf8(row.item));
        platform.calls.clear();
        Press(row.button);
        EXPECT_EQ(platform.Writes(), (std::vector<std::string>{row.bytes}));
    }
    EXPECT_TRUE(Shown().empty());
}

TEST_F(CommandWiring, SerialWriteIsFollowedByTwoReopens)
{
    ConnectOn("COM2");
    platform.calls.clear();
    Press(id::main::kBold);
    EXPECT_EQ(platform.calls, (std::vector<std::string>{"write 1B 45 01", "close", "open COM2", "configure 115200",
                                                        "close", "open COM2", "configure 115200"}));
}

TEST_F(CommandWiring, SelfTestRepeatsByTheSendCount)
{
    ConnectOn("COM1");
    const struct {
        const char* count;
        size_t writes;
    } rows[] = {{"3", 3}, {"0", 0}, {"1", 1}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.count);
        SendCount()->setText(row.count);
        platform.calls.clear();
        Press(id::main::kSelfTest);
        EXPECT_EQ(platform.Writes(), std::vector<std::string>(row.writes, "1F 11 04 0A"));
    }
    EXPECT_TRUE(Shown().empty());
}

TEST_F(CommandWiring, ABadSendCountIsReportedAndTheOldOneKept)
{
    ConnectOn("COM1");
    SendCount()->setText("2");
    Press(id::main::kSelfTest);
    for (const char* bad : {"abc", "", "-1", "4294967296"}) {
        SCOPED_TRACE(bad);
        boxes.shown.clear();
        SendCount()->setText(bad);
        platform.calls.clear();
        Press(id::main::kSelfTest);
        EXPECT_EQ(Shown(), (std::vector<std::string>{"tallyx|请输入一个无符号整数。"}));
        EXPECT_EQ(dlg->g_sendCount, 2u);
        EXPECT_EQ(platform.Writes().size(), 2u);   // the handler goes on with the kept count
    }
    // Every button exchanges the data: a plain command shows it too and still sends.
    boxes.shown.clear();
    SendCount()->setText("x");
    platform.calls.clear();
    Press(id::main::kSelfTestPage);
    EXPECT_EQ(Shown(), (std::vector<std::string>{"tallyx|请输入一个无符号整数。"}));
    EXPECT_EQ(platform.Writes(), (std::vector<std::string>{"1F 11 04"}));
}

TEST_F(CommandWiring, AFailedUsbOpenIsReportedByTheNextCommand)
{
    platform.usbOpens = false;
    ConnectOn("USB");
    EXPECT_EQ(Caption(Ctl(id::main::kConnect)), "断 开");
    Press(id::main::kInit);
    EXPECT_EQ(Shown(), (std::vector<std::string>{"tallyx|此端口被占用或已损坏"}));
    EXPECT_TRUE(platform.Writes().empty());
    EXPECT_EQ(boxes.shown[0].owner, dlg.get());
}

TEST_F(CommandWiring, NoUsbPrinterIsReportedAtConnect)
{
    platform.usb = {UsbFind::NoInterface, {}, {}};
    ConnectOn("USB");
    EXPECT_EQ(Shown(), (std::vector<std::string>{"打印机设置工具|无法找到USB设备"}));
    EXPECT_EQ(Caption(Ctl(id::main::kConnect)), "连 接");
}

TEST_F(CommandWiring, HiddenReopenButtonReopensThePort)
{
    ConnectOn("COM4");
    platform.calls.clear();
    qobject_cast<QAbstractButton*>(Ctl(id::main::kReopen))->click();
    Settle();
    EXPECT_EQ(platform.calls, (std::vector<std::string>{"close", "open COM4", "configure 115200"}));
}

} // namespace
} // namespace tallyx::test
