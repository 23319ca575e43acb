// Network connect and delivery against printer stand-ins on 127.0.0.1.
#include <gtest/gtest.h>

#include "tests/support/EthernetLink.h"
#include "tests/support/LoopbackServer.h"
#include "tests/support/LinkAccess.h"
#include "jobs/PrinterQueries.h"

using namespace tallyx;
using namespace tallyx::test;

namespace {

using NetFixture = EthernetLink<>;

std::string Reply(std::string_view hex)
{
    const Bytes b = FromHex(hex);
    return std::string(b.begin(), b.end());
}

} // namespace

TEST(NetworkConnect, ReadsBackThePrintersParameters)
{
    LoopbackServer printer({0, Reply("C0 A8 01 C8 FF FF FF 00 C0 A8 01 01 08 08 08 08 02 00 00 00 00 00")});
    NetFixture f(printer.Port());
    const ConnectOutcome outcome = f.link.Connect(NetworkParamQuery());
    ASSERT_TRUE(outcome.connected);
    EXPECT_TRUE(f.host.messages.empty());
    EXPECT_TRUE(DecodeNetReply(outcome.netReply).valid);
    EXPECT_EQ(DecodeNetReply(outcome.netReply).ip, 0xC0A801C8u);
    EXPECT_EQ(DecodeNetReply(outcome.netReply).mask, 0xFFFFFF00u);
    EXPECT_EQ(DecodeNetReply(outcome.netReply).gateway, 0xC0A80101u);
    EXPECT_EQ(DecodeNetReply(outcome.netReply).dns, 0x08080808u);
    EXPECT_EQ(DecodeNetReply(outcome.netReply).dhcpIndex, 1) << "DHCP byte 2 selects YES";
    EXPECT_EQ(f.link.Kind(), LinkKind::Network);
    EXPECT_TRUE(f.link.IsConnected());
    EXPECT_TRUE(LinkTestAccess::Port(f.link).IsNone());
    EXPECT_EQ(Hex(printer.WaitForConnections(1).at(0)), "10 04 13");
}

TEST(NetworkConnect, PrinterThatRefusesGivesUpAfterFifteenSends)
{
    RefusingPort nobody;
    NetFixture f(nobody.Port());
    EXPECT_FALSE(f.link.Connect(NetworkParamQuery()).connected);
    EXPECT_EQ(f.host.messages, (std::vector<std::string>{"打印机设置工具|与打印机连接不成功!|0"}));
    EXPECT_FALSE(f.link.IsConnected());
}

TEST(NetworkConnect, BlankAndIncompleteAddressesAreRefused)
{
    NetFixture f(1);
    f.host.address = AddressEntry{};
    EXPECT_FALSE(f.link.Connect(NetworkParamQuery()).connected);
    f.host.address = AddressEntry::FromValue(0x7F000001);
    f.host.address.present[3] = false;
    EXPECT_FALSE(f.link.Connect(NetworkParamQuery()).connected);
    EXPECT_EQ(f.host.messages, (std::vector<std::string>{"打印机设置工具|远程IP地址为空!|1021",
                                                         "打印机设置工具|你输入的IP地址不完整!|1021"}));
}

TEST(NetworkDelivery, OneConnectionPerCommand)
{
    LoopbackServer printer;
    NetFixture f(printer.Port());
    f.link.SendToPrinter(Bytes{0x1F, 0x11, 0x04, 0x0A});
    f.link.SendToPrinter(Bytes{0x1B, 0x40, 0x0A});
    const auto connections = printer.WaitForConnections(2);
    ASSERT_EQ(connections.size(), 2u);
    EXPECT_EQ(Hex(connections[0]), "1F 11 04 0A");
    EXPECT_EQ(Hex(connections[1]), "1B 40 0A");
    EXPECT_TRUE(f.host.messages.empty());
}

TEST(NetworkDelivery, LateAcceptGetsTheCommandOnce)
{
    LoopbackServer printer({250, {}});
    NetFixture f(printer.Port());
    f.link.SendToPrinter(Bytes{0x1B, 0x45, 0x01});
    const auto connections = printer.WaitForConnections(1);
    ASSERT_EQ(connections.size(), 1u);
    EXPECT_EQ(Hex(connections[0]), "1B 45 01");
    EXPECT_EQ(printer.ConnectionCount(), 1u);
}

TEST(NetworkDelivery, EmptyCommandStillOpensAndClosesAConnection)
{
    LoopbackServer printer;
    NetFixture f(printer.Port());
    f.link.UseTarget(f.link.HostTarget());
    LinkTestAccess::NetLen(f.link) = 0;
    EXPECT_TRUE(f.link.SendPendingNetData());
    const auto connections = printer.WaitForConnections(1);
    ASSERT_EQ(connections.size(), 1u);
    EXPECT_EQ(connections[0], "");
}

TEST(NetworkDelivery, LongestTextArrivesWhole)
{
    LoopbackServer printer;
    NetFixture f(printer.Port());
    Bytes text(24574);
    for (size_t i = 0; i < text.size(); ++i) text[i] = uint8_t('A' + i % 26);
    f.link.SendToPrinter(text);
    const auto connections = printer.WaitForConnections(1);
    ASSERT_EQ(connections.size(), 1u);
    EXPECT_EQ(connections[0], std::string(text.begin(), text.end()));
}

TEST(NetworkDelivery, RefusedConnectionEndsWithTheMessage)
{
    RefusingPort nobody;
    NetFixture f(nobody.Port());
    const int64_t start = f.platform.NowMs();
    f.link.SendToPrinter(Bytes{0x0A});
    EXPECT_EQ(f.host.messages, (std::vector<std::string>{"打印机设置工具|与打印机连接不成功!|0"}));
    EXPECT_LT(f.platform.NowMs() - start, 10'000) << "the retry loop is bounded";
}

TEST(NetworkSave, SendsOnceOnAConnectionOfItsOwn)
{
    LoopbackServer printer;
    NetFixture f(printer.Port());
    const Bytes command = FromHex("1F 1B 1D 02 C0 A8 01 C8 FF FF FF 00 C0 A8 01 01 08 08 08 08 01");
    EXPECT_TRUE(f.link.SendOnceOverTcp(command));
    const auto connections = printer.WaitForConnections(1);
    ASSERT_EQ(connections.size(), 1u);
    EXPECT_EQ(Hex(connections[0]), "1F 1B 1D 02 C0 A8 01 C8 FF FF FF 00 C0 A8 01 01 08 08 08 08 01");
}

TEST(NetworkSave, RefusedConnectionShowsCommunicationFailure)
{
    RefusingPort nobody;
    NetFixture f(nobody.Port());
    EXPECT_FALSE(f.link.SendOnceOverTcp(Bytes(21, 0)));
    EXPECT_EQ(f.host.messages, (std::vector<std::string>{"打印机设置工具|通讯不成功,请断开再重新连接!|0"}));
}
