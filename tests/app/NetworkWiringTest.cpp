// "Ethernet": the connect read-back, the sends and the network parameter save.
#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QLineEdit>

#include "res/MainWindowIds.h"
#include "tests/app/AppFixture.h"
#include "ui/IpAddressCtrl.h"

namespace tallyx::test {
namespace {

class NetworkWiring : public AppTest {
protected:
    void ConnectEthernet(const char* reply = "C0 A8 01 C8 FF FF FF 00 C0 A8 01 01 08 08 08 08 02 00 00 00 00 00")
    {
        platform.reply = FromHex(reply);
        SelectItem(id::main::kPort, "Ethernet");
        AddressAt(id::main::kPrinterAddress)->SetAddress(0x7F000001);
        Press(id::main::kConnect);
        ASSERT_EQ(platform.sockets.size(), 1u);
        EXPECT_EQ(Hex(platform.sockets[0]), "10 04 13");
        platform.sockets.clear();
        platform.calls.clear();
    }
    void SetAddress(int id, const char* text)
    {
        IpAddressCtrl* ip = AddressAt(id);
        ip->ClearAddress();
        const QStringList parts = QString(text).split('.');
        for (int i = 0; i < int(parts.size()) && i < 4; ++i) ip->Field(i)->setText(parts[i]);
    }
    // Two connections, each carrying `hex`.
    void ExpectSentTwice(const char* hex)
    {
        ASSERT_EQ(platform.sockets.size(), 2u);
        EXPECT_EQ(Hex(platform.sockets[0]), hex);
        EXPECT_EQ(Hex(platform.sockets[1]), hex);
    }
};

TEST_F(NetworkWiring, ConnectShowsTheParametersThePrinterReports)
{
    ConnectEthernet();
    EXPECT_EQ(AddressAt(id::main::kNetIp)->Text(), "192.168.1.200");
    EXPECT_EQ(AddressAt(id::main::kNetMask)->Text(), "255.255.255.0");
    EXPECT_EQ(AddressAt(id::main::kNetGateway)->Text(), "192.168.1.1");
    EXPECT_EQ(AddressAt(id::main::kNetDns)->Text(), "8.8.8.8");
    EXPECT_EQ(ComboAt(id::main::kDhcp)->currentText(), "YES");
    EXPECT_EQ(dlg->g_netIp, 0xC0A801C8u);
    EXPECT_EQ(dlg->g_netMask, 0xFFFFFF00u);
    EXPECT_EQ(dlg->g_netGateway, 0xC0A80101u);
    EXPECT_EQ(dlg->g_netDns, 0x08080808u);
    EXPECT_EQ(dlg->g_dhcpIndex, 1);
    EXPECT_TRUE(Ctl(id::main::kSave)->isEnabled());
    EXPECT_FALSE(AddressAt(id::main::kPrinterAddress)->isEnabled());
    EXPECT_EQ(qobject_cast<QAbstractButton*>(Ctl(id::main::kConnect))->text(), "断 开");
    EXPECT_EQ(dlg->GetLink().CaptureTarget().target.address.Dotted(), "127.0.0.1");
    EXPECT_TRUE(Shown().empty());
}

TEST_F(NetworkWiring, DisconnectClearsTheParameters)
{
    ConnectEthernet();
    Press(id::main::kConnect);
    for (int id : {1022, 1023, 1024, 1025}) EXPECT_TRUE(AddressAt(id)->IsBlank()) << id;
    EXPECT_EQ(ComboAt(id::main::kDhcp)->currentText(), "NO");
    EXPECT_EQ(dlg->g_netIp, 0u);
    EXPECT_EQ(dlg->g_dhcpIndex, 0);
    EXPECT_TRUE(AddressAt(id::main::kPrinterAddress)->isEnabled());
    EXPECT_FALSE(Ctl(id::main::kSave)->isEnabled());
    EXPECT_FALSE(Ctl(id::main::kBaud)->isEnabled());
}

TEST_F(NetworkWiring, AShortReplyLeavesTheFieldsEmpty)
{
    SetAddress(id::main::kNetIp, "10.0.0.9");
    ConnectEthernet("C0 A8 01 C8 FF FF FF 00 C0 A8");
    for (int id : {1022, 1023, 1024, 1025}) EXPECT_TRUE(AddressAt(id)->IsBlank()) << id;
    EXPECT_EQ(ComboAt(id::main::kDhcp)->currentText(), "NO");
    EXPECT_EQ(dlg->g_netIp, 0u);
    EXPECT_TRUE(Ctl(id::main::kSave)->isEnabled());
}

TEST_F(NetworkWiring, BlankOrIncompleteAddressRefusesToConnect)
{
    ShowActive();
    SelectItem(id::main::kPort, "Ethernet");
    const struct {
        const char* address;
        const char* shown;
    } rows[] = {{"", "打印机设置工具|远程IP地址为空!"}, {"192.168.1", "打印机设置工具|你输入的IP地址不完整!"}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.address);
        boxes.shown.clear();
        SetAddress(id::main::kPrinterAddress, row.address);
        Ctl(id::main::kSendCount)->setFocus();
        Press(id::main::kConnect);
        EXPECT_EQ(Shown(), (std::vector<std::string>{row.shown}));
        EXPECT_EQ(QApplication::focusWidget(), AddressAt(id::main::kPrinterAddress)->Field(0));
        EXPECT_EQ(qobject_cast<QAbstractButton*>(Ctl(id::main::kConnect))->text(), "连 接");
    }
    EXPECT_TRUE(platform.sockets.empty());
}

TEST_F(NetworkWiring, CommandsAreSentByTheSender)
{
    ConnectEthernet();
    Press(id::main::kInit);
    ASSERT_EQ(platform.sockets.size(), 1u);
    EXPECT_EQ(Hex(platform.sockets[0]), "1B 40 0A");
    EXPECT_TRUE(platform.Writes().empty());
}

TEST_F(NetworkWiring, SelfTestPostsOneSendPerRepetition)
{
    ConnectEthernet();
    SendCount()->setText("2");
    Press(id::main::kSelfTest);
    ExpectSentTwice("1F 11 04 0A");
}

// Each goes once, in order (two posted commands once sent the second twice).
TEST_F(NetworkWiring, TwoQuickCommandsGoOnceEachInOrder)
{
    ConnectEthernet();
    qobject_cast<QAbstractButton*>(Ctl(id::main::kBold))->click();
    qobject_cast<QAbstractButton*>(Ctl(id::main::kRotate))->click();
    Settle();
    ASSERT_EQ(platform.sockets.size(), 2u);
    EXPECT_EQ(Hex(platform.sockets[0]), "1B 45 01");
    EXPECT_EQ(Hex(platform.sockets[1]), "1B 56 01");
}

TEST_F(NetworkWiring, SaveSendsTheParameters)
{
    ConnectEthernet();
    SelectItem(id::main::kDhcp, "NO");
    SetAddress(id::main::kNetIp, "192.168.1.200");
    SetAddress(id::main::kNetMask, "255.255.255.0");
    SetAddress(id::main::kNetGateway, "192.168.1.1");
    SetAddress(id::main::kNetDns, "8.8.8.8");
    Press(id::main::kSave);
    ASSERT_EQ(platform.sockets.size(), 1u);
    EXPECT_EQ(Hex(platform.sockets[0]), "1F 1B 1D 02 C0 A8 01 C8 FF FF FF 00 C0 A8 01 01 08 08 08 08 01");
    EXPECT_TRUE(Shown().empty());
}

TEST_F(NetworkWiring, SaveWithDhcpIgnoresTheAddresses)
{
    ConnectEthernet();
    SelectItem(id::main::kDhcp, "YES");
    for (int id : {1022, 1023, 1024, 1025}) AddressAt(id)->ClearAddress();
    Press(id::main::kSave);
    ASSERT_EQ(platform.sockets.size(), 1u);
    EXPECT_EQ(Hex(platform.sockets[0]),
              "1F 1B 1D 02 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 02");
    EXPECT_TRUE(Shown().empty());
}

TEST_F(NetworkWiring, SaveChecksFieldsInOrderAndFocusesTheFirstFault)
{
    ConnectEthernet();
    ShowActive();
    SelectItem(id::main::kDhcp, "NO");
    const struct {
        const char *ip, *mask, *gateway, *dns;
        const char* shown;
        int focus;
    } rows[] = {
        {"", "", "", "", "要设置的ip地址为空!", 1022},
        {"192.168.1", "", "", "", "您输入的ip地址不完整!", 1022},
        {"192.168.1.200", "", "", "", "要设置的子网掩码为空!", 1024},
        {"192.168.1.200", "255.255", "1.2", "", "您输入的子网掩码不完整!", 1024},
        {"192.168.1.200", "255.255.255.0", "", "1", "要设置的网关为空!", 1023},
        {"192.168.1.200", "255.255.255.0", "192.168", "", "您输入的网关地址不完整!", 1023},
        {"192.168.1.200", "255.255.255.0", "192.168.1.1", "", "要设置的DNS为空!", 1025},
        {"192.168.1.200", "255.255.255.0", "192.168.1.1", "8.8.8", "您输入的DNS地址不完整!", 1025},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.shown);
        SetAddress(id::main::kNetIp, row.ip);
        SetAddress(id::main::kNetMask, row.mask);
        SetAddress(id::main::kNetGateway, row.gateway);
        SetAddress(id::main::kNetDns, row.dns);
        boxes.shown.clear();
        Ctl(id::main::kSendCount)->setFocus();
        Press(id::main::kSave);
        EXPECT_EQ(Shown(), (std::vector<std::string>{std::string("打印机设置工具|") + row.shown}));
        EXPECT_EQ(QApplication::focusWidget(), AddressAt(row.focus)->Field(0));
    }
    EXPECT_TRUE(platform.sockets.empty());
}

TEST_F(NetworkWiring, SaveChecksThePrinterAddressToo)
{
    ConnectEthernet();
    SelectItem(id::main::kDhcp, "YES");
    SetAddress(id::main::kPrinterAddress, "127.0.0");
    Press(id::main::kSave);
    EXPECT_EQ(Shown(), (std::vector<std::string>{"打印机设置工具|您输入的IP地址不完整!"}));
    EXPECT_TRUE(platform.sockets.empty());
}

TEST_F(NetworkWiring, ABlankAddressIsReportedWhenTheSendRuns)
{
    ConnectEthernet();
    AddressAt(id::main::kPrinterAddress)->ClearAddress();
    Press(id::main::kSelfTestPage);
    EXPECT_EQ(Shown(), (std::vector<std::string>{"打印机设置工具|远程IP地址为空!"}));
    EXPECT_TRUE(platform.sockets.empty());
}

} // namespace
} // namespace tallyx::test
