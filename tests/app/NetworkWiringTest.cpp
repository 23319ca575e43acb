// "Ethernet": the connect read-back, the posted sends and the network parameter save.
#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QLineEdit>

#include "tests/app/AppFixture.h"
#include "ui/IpAddressCtrl.h"

namespace tallyx::test {
namespace {

class NetworkWiring : public AppTest {
protected:
    void ConnectEthernet(const char* reply = "C0 A8 01 C8 FF FF FF 00 C0 A8 01 01 08 08 08 08 02 00 00 00 00 00")
    {
        platform.reply = FromHex(reply);
        SelectItem(1001, "Ethernet");
        AddressAt(1021)->SetAddress(0x7F000001);
        Press(1003);
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
    static void RunPosted() { QCoreApplication::processEvents(); }
};

TEST_F(NetworkWiring, ConnectShowsTheParametersThePrinterReports)
{
    ConnectEthernet();
    EXPECT_EQ(AddressAt(1022)->Text(), "192.168.1.200");
    EXPECT_EQ(AddressAt(1024)->Text(), "255.255.255.0");
    EXPECT_EQ(AddressAt(1023)->Text(), "192.168.1.1");
    EXPECT_EQ(AddressAt(1025)->Text(), "8.8.8.8");
    EXPECT_EQ(ComboAt(1076)->currentText(), "YES");
    EXPECT_EQ(dlg->g_netIp, 0xC0A801C8u);
    EXPECT_EQ(dlg->g_netMask, 0xFFFFFF00u);
    EXPECT_EQ(dlg->g_netGateway, 0xC0A80101u);
    EXPECT_EQ(dlg->g_netDns, 0x08080808u);
    EXPECT_EQ(dlg->g_dhcpIndex, 1);
    EXPECT_TRUE(Ctl(1039)->isEnabled());
    EXPECT_FALSE(AddressAt(1021)->isEnabled());
    EXPECT_EQ(qobject_cast<QAbstractButton*>(Ctl(1003))->text(), "断 开");
    EXPECT_EQ(dlg->GetLink().g_printerIp, "127.0.0.1");
    EXPECT_TRUE(Shown().empty());
}

TEST_F(NetworkWiring, DisconnectClearsTheParameters)
{
    ConnectEthernet();
    Press(1003);
    for (int id : {1022, 1023, 1024, 1025}) EXPECT_TRUE(AddressAt(id)->IsBlank()) << id;
    EXPECT_EQ(ComboAt(1076)->currentText(), "NO");
    EXPECT_EQ(dlg->g_netIp, 0u);
    EXPECT_EQ(dlg->g_dhcpIndex, 0);
    EXPECT_TRUE(AddressAt(1021)->isEnabled());
    EXPECT_FALSE(Ctl(1039)->isEnabled());
    EXPECT_FALSE(Ctl(1002)->isEnabled());
}

TEST_F(NetworkWiring, AShortReplyLeavesTheFieldsEmpty)
{
    SetAddress(1022, "10.0.0.9");
    ConnectEthernet("C0 A8 01 C8 FF FF FF 00 C0 A8");
    for (int id : {1022, 1023, 1024, 1025}) EXPECT_TRUE(AddressAt(id)->IsBlank()) << id;
    EXPECT_EQ(ComboAt(1076)->currentText(), "NO");
    EXPECT_EQ(dlg->g_netIp, 0u);
    EXPECT_TRUE(Ctl(1039)->isEnabled());
}

TEST_F(NetworkWiring, BlankOrIncompleteAddressRefusesToConnect)
{
    ShowActive();
    SelectItem(1001, "Ethernet");
    const struct {
        const char* address;
        const char* shown;
    } rows[] = {{"", "打印机设置工具|远程IP地址为空!"}, {"192.168.1", "打印机设置工具|你输入的IP地址不完整!"}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.address);
        boxes.shown.clear();
        SetAddress(1021, row.address);
        Ctl(1050)->setFocus();
        Press(1003);
        EXPECT_EQ(Shown(), (std::vector<std::string>{row.shown}));
        EXPECT_EQ(QApplication::focusWidget(), AddressAt(1021)->Field(0));
        EXPECT_EQ(qobject_cast<QAbstractButton*>(Ctl(1003))->text(), "连 接");
    }
    EXPECT_TRUE(platform.sockets.empty());
}

TEST_F(NetworkWiring, CommandsAreSentAfterTheHandlerReturns)
{
    ConnectEthernet();
    Press(1051);
    EXPECT_TRUE(platform.sockets.empty());   // only posted so far
    RunPosted();
    ASSERT_EQ(platform.sockets.size(), 1u);
    EXPECT_EQ(Hex(platform.sockets[0]), "1B 40 0A");
    EXPECT_TRUE(platform.Writes().empty());
}

TEST_F(NetworkWiring, SelfTestPostsOneSendPerRepetition)
{
    ConnectEthernet();
    SendCount()->setText("2");
    Press(1077);
    EXPECT_TRUE(platform.sockets.empty());
    for (int i = 0; i < 4; ++i) RunPosted();
    ASSERT_EQ(platform.sockets.size(), 2u);
    EXPECT_EQ(Hex(platform.sockets[0]), "1F 11 04 0A");
    EXPECT_EQ(Hex(platform.sockets[1]), "1F 11 04 0A");
}

TEST_F(NetworkWiring, TwoCommandsBeforeTheLoopRunsBothSendTheSecond)
{
    ConnectEthernet();
    Press(1054);
    Press(1056);
    for (int i = 0; i < 4; ++i) RunPosted();
    ASSERT_EQ(platform.sockets.size(), 2u);
    EXPECT_EQ(Hex(platform.sockets[0]), "1B 56 01");
    EXPECT_EQ(Hex(platform.sockets[1]), "1B 56 01");
}

TEST_F(NetworkWiring, SaveSendsTheParameters)
{
    ConnectEthernet();
    SelectItem(1076, "NO");
    SetAddress(1022, "192.168.1.200");
    SetAddress(1024, "255.255.255.0");
    SetAddress(1023, "192.168.1.1");
    SetAddress(1025, "8.8.8.8");
    Press(1039);
    ASSERT_EQ(platform.sockets.size(), 1u);
    EXPECT_EQ(Hex(platform.sockets[0]), "1F 1B 1D 02 C0 A8 01 C8 FF FF FF 00 C0 A8 01 01 08 08 08 08 01");
    EXPECT_TRUE(Shown().empty());
}

TEST_F(NetworkWiring, SaveWithDhcpIgnoresTheAddresses)
{
    ConnectEthernet();
    SelectItem(1076, "YES");
    for (int id : {1022, 1023, 1024, 1025}) AddressAt(id)->ClearAddress();
    Press(1039);
    ASSERT_EQ(platform.sockets.size(), 1u);
    EXPECT_EQ(Hex(platform.sockets[0]),
              "1F 1B 1D 02 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 02");
    EXPECT_TRUE(Shown().empty());
}

TEST_F(NetworkWiring, SaveChecksFieldsInOrderAndFocusesTheFirstFault)
{
    ConnectEthernet();
    ShowActive();
    SelectItem(1076, "NO");
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
        SetAddress(1022, row.ip);
        SetAddress(1024, row.mask);
        SetAddress(1023, row.gateway);
        SetAddress(1025, row.dns);
        boxes.shown.clear();
        Ctl(1050)->setFocus();
        Press(1039);
        EXPECT_EQ(Shown(), (std::vector<std::string>{std::string("打印机设置工具|") + row.shown}));
        EXPECT_EQ(QApplication::focusWidget(), AddressAt(row.focus)->Field(0));
    }
    EXPECT_TRUE(platform.sockets.empty());
}

TEST_F(NetworkWiring, SaveChecksThePrinterAddressToo)
{
    ConnectEthernet();
    SelectItem(1076, "YES");
    SetAddress(1021, "127.0.0");
    Press(1039);
    EXPECT_EQ(Shown(), (std::vector<std::string>{"打印机设置工具|您输入的IP地址不完整!"}));
    EXPECT_TRUE(platform.sockets.empty());
}

TEST_F(NetworkWiring, ABlankAddressIsReportedWhenThePostedSendRuns)
{
    ConnectEthernet();
    AddressAt(1021)->ClearAddress();
    Press(1040);
    EXPECT_TRUE(Shown().empty());
    RunPosted();
    EXPECT_EQ(Shown(), (std::vector<std::string>{"打印机设置工具|远程IP地址为空!"}));
    EXPECT_TRUE(platform.sockets.empty());
}

} // namespace
} // namespace tallyx::test
