// The delivery rule and the reopen rule, checked call by call against a recording fake.
#include <gtest/gtest.h>

#include "tests/support/RecordingPlatform.h"
#include "tests/support/LinkAccess.h"
#include "jobs/PrinterQueries.h"
#include "link/SendLog.h"

using namespace tallyx;
using namespace tallyx::test;

namespace {

struct Fixture {
    FakeHost host;
    RecordingPlatform platform;
    HostedLink link{host, platform};
};

const Bytes kInit{0x1B, 0x40, 0x0A};

} // namespace

TEST(DeliveryRule, SerialWritesThenReopensTwice)
{
    Fixture f;
    f.host.port = "COM7";
    f.link.ReopenPort();
    f.platform.calls.clear();
    f.link.SendToPrinter(kInit);
    EXPECT_EQ(f.platform.calls, (std::vector<std::string>{
        "write 1B 40 0A", "close", "open COM7", "configure 9600", "close", "open COM7", "configure 9600"}));
    EXPECT_EQ(f.link.Kind(), LinkKind::Serial);
    EXPECT_TRUE(f.link.IsConnected());
}

TEST(DeliveryRule, UsbReopensTwiceThenWrites)
{
    Fixture f;
    f.host.port = "USB";
    f.link.SendToPrinter(kInit);
    EXPECT_EQ(f.platform.calls, (std::vector<std::string>{
        "discover", "open /dev/usb/lp0", "close", "discover", "open /dev/usb/lp0", "write 1B 40 0A"}));
    EXPECT_EQ(f.link.Kind(), LinkKind::Usb);
}

TEST(DeliveryRule, BaudTextMapsToRateAndAnythingElseIsNineThousandSixHundred)
{
    const std::pair<std::string, uint32_t> rows[] = {
        {"4800", 4800}, {"9600", 9600}, {"19200", 19200}, {"38400", 38400},
        {"57600", 57600}, {"115200", 115200}, {"12345", 9600}, {"", 9600}, {"115200 ", 9600},
    };
    for (const auto& [text, rate] : rows) {
        SCOPED_TRACE(text);
        EXPECT_EQ(BaudFromText(text), rate);
    }
    Fixture f;
    f.host.baud = "12345";
    f.link.ReopenPort();
    EXPECT_EQ(LinkTestAccess::BaudRate(f.link), 9600u);
    EXPECT_EQ(f.platform.calls.back(), "configure 9600");
}

TEST(DeliveryRule, NetworkFillsPendingBufferThenSendsIt)
{
    Fixture f;
    f.host.port = "Ethernet";
    f.link.UseTarget(f.link.HostTarget());
    LinkTestAccess::NetBuf(f.link).fill(0xEE);
    EXPECT_TRUE(f.link.SendToPrinter(kInit));
    EXPECT_EQ(LinkTestAccess::NetLen(f.link), 3);
    EXPECT_EQ(Hex(Bytes(LinkTestAccess::NetBuf(f.link).begin(), LinkTestAccess::NetBuf(f.link).begin() + 4)), "1B 40 0A 00");
    ASSERT_EQ(f.platform.sockets.size(), 1u);
    EXPECT_EQ(Hex(f.platform.sockets[0]), "1B 40 0A");
}

// Each command goes once, in order, on its own connection, with its own 300 ms pause
// (two posted commands once sent the second twice).
TEST(DeliveryRule, TwoNetworkCommandsGoOnceEachInOrder)
{
    Fixture f;
    f.host.port = "Ethernet";
    f.link.SendToPrinter(kInit);
    f.link.SendToPrinter(Bytes{0x1B, 0x45, 0x01});
    ASSERT_EQ(f.platform.sockets.size(), 2u);
    EXPECT_EQ(Hex(f.platform.sockets[0]), "1B 40 0A");
    EXPECT_EQ(Hex(f.platform.sockets[1]), "1B 45 01");
    EXPECT_GE(f.platform.now, 600);
}

TEST(DeliveryRule, FailedUsbOpenIsReportedOnceThenTheNextCommandProceeds)
{
    Fixture f;
    f.host.port = "USB";
    f.platform.usbOpens = false;
    ASSERT_TRUE(f.link.Connect(NetworkParamQuery()).connected);
    EXPECT_TRUE(LinkTestAccess::Port(f.link).IsFailed());
    f.platform.calls.clear();

    f.link.SendToPrinter(kInit);
    EXPECT_EQ(f.host.messages, (std::vector<std::string>{"tallyx|此端口被占用或已损坏|0"}));
    EXPECT_TRUE(LinkTestAccess::Port(f.link).IsNone());
    EXPECT_TRUE(f.platform.calls.empty());

    f.platform.usbOpens = true;
    f.link.SendToPrinter(kInit);
    EXPECT_EQ(f.host.messages.size(), 1u);
    EXPECT_EQ(f.platform.calls.back(), "write 1B 40 0A");
}

TEST(DeliveryRule, NoUsbPrinterShowsMessageOncePerReopenAndWritesNothing)
{
    Fixture f;
    f.host.port = "USB";
    f.platform.usb = {UsbFind::NoInterface, {}, {}};
    f.link.SendToPrinter(kInit);
    EXPECT_EQ(f.host.messages, (std::vector<std::string>{"打印机设置工具|无法找到USB设备|0",
                                                         "打印机设置工具|无法找到USB设备|0"}));
    for (const auto& call : f.platform.calls) EXPECT_NE(call.rfind("write", 0), 0u) << call;
}

TEST(DeliveryRule, SilentUsbDiscoveryFailuresOpenNothing)
{
    for (UsbFind failure : {UsbFind::NoDeviceSet, UsbFind::NoDetail, UsbFind::NoHardwareId}) {
        SCOPED_TRACE(int(failure));
        Fixture f;
        f.host.port = "USB";
        f.platform.usb = {failure, {}, {}};
        EXPECT_FALSE(f.link.Connect(NetworkParamQuery()).connected);
        EXPECT_TRUE(f.host.messages.empty());
        EXPECT_TRUE(LinkTestAccess::Port(f.link).IsNone());
        EXPECT_FALSE(f.link.IsConnected());
    }
}

TEST(DeliveryRule, SerialOpenFailureWarnsOnEachReopen)
{
    Fixture f;
    f.host.port = "usb";
    f.platform.serialOpens["usb"] = false;
    f.link.SendToPrinter(kInit);
    EXPECT_EQ(f.host.messages, (std::vector<std::string>{"警告|此端口被占用或已损坏|0", "警告|此端口被占用或已损坏|0"}));
    EXPECT_TRUE(LinkTestAccess::Port(f.link).IsNone());
}

TEST(DeliveryRule, ReopenOnEthernetClosesTheDevice)
{
    Fixture f;
    f.link.ReopenPort();
    ASSERT_TRUE(LinkTestAccess::Port(f.link).IsOpen());
    f.host.port = "Ethernet";
    f.link.ReopenPort();
    EXPECT_TRUE(LinkTestAccess::Port(f.link).IsNone());
    EXPECT_EQ(f.platform.calls.back(), "close");
}

// An oversized command is refused as a fault, told and logged, never reported as sent.
TEST(DeliveryRule, CommandLongerThanPendingBufferIsRefused)
{
    Fixture f;
    f.host.port = "Ethernet";
    std::vector<std::string> logged;
    f.link.m_onSend = [&](const SendRecord& r) { logged.push_back(std::string(OutcomeName(r.outcome))); };
    EXPECT_TRUE(f.link.SendToPrinter(Bytes(24575, 0x41)));
    EXPECT_EQ(LinkTestAccess::NetLen(f.link), 24575);
    EXPECT_EQ(LinkTestAccess::NetBuf(f.link)[24575], 0);
    EXPECT_EQ(f.link.SendToPrinter(Bytes(24576, 0x42)).fault, LinkFault::TooLong);
    EXPECT_EQ(LinkTestAccess::NetLen(f.link), 24575) << "an oversized command must not overrun the buffer";
    EXPECT_EQ(f.platform.sockets.size(), 1u);
    EXPECT_EQ(logged, (std::vector<std::string>{"sent", "TooLong"}));
    EXPECT_EQ(f.host.messages, (std::vector<std::string>{"打印机设置工具|命令超过24575字节，未发送!|0"}));
}

TEST(NetworkDelivery, RetriesEveryStepAndGivesUpAfterTheBound)
{
    Fixture f;
    f.host.port = "Ethernet";
    f.platform.connectAfterMs = 1'000'000;
    f.link.SendToPrinter(kInit);
    EXPECT_EQ(f.host.messages, (std::vector<std::string>{"打印机设置工具|与打印机连接不成功!|0"}));
    EXPECT_GE(f.platform.now, 3000);
    EXPECT_LT(f.platform.now, 3200);
    EXPECT_EQ(f.platform.calls.back(), "socket close");
}

TEST(NetworkDelivery, RefusedConnectionIsRetriedOnFreshSocketsUntilTheBound)
{
    Fixture f;
    f.host.port = "Ethernet";
    f.platform.refuse = true;
    EXPECT_FALSE(f.link.SendPendingNetData());
    EXPECT_EQ(f.host.messages.back(), "打印机设置工具|与打印机连接不成功!|0");
    EXPECT_GE(std::count(f.platform.calls.begin(), f.platform.calls.end(), "socket"), 25);
}

TEST(NetworkDelivery, AddressChecksComeFirstAndSendNothing)
{
    Fixture f;
    f.host.port = "Ethernet";
    f.host.address = AddressEntry{};
    EXPECT_FALSE(f.link.SendPendingNetData());
    f.host.address.present = {true, true, true, false};
    EXPECT_FALSE(f.link.SendPendingNetData());
    f.platform.socketOpens = false;
    f.host.address = AddressEntry::FromValue(0x7F000001);
    EXPECT_FALSE(f.link.SendPendingNetData());
    EXPECT_EQ(f.host.messages, (std::vector<std::string>{
        "打印机设置工具|远程IP地址为空!|1021", "打印机设置工具|您输入的IP地址不完整!|1021", "错误|创建套接字失败|0"}));
    EXPECT_TRUE(f.platform.sockets.empty());
}

TEST(NetworkConnect, QueryGivesUpAfterFifteenFailedSends)
{
    Fixture f;
    f.host.port = "Ethernet";
    f.platform.connectAfterMs = 1'000'000;
    const ConnectOutcome outcome = f.link.Connect(NetworkParamQuery());
    EXPECT_FALSE(outcome.connected);
    EXPECT_EQ(f.host.messages, (std::vector<std::string>{"打印机设置工具|与打印机连接不成功!|0"}));
    EXPECT_EQ(f.platform.now, 80 + 15 * 80) << "80 ms before the query, 80 ms after each failure";
    EXPECT_FALSE(f.link.IsConnected());
}

TEST(NetworkConnect, ShortReplyLeavesNoParameters)
{
    Fixture f;
    f.host.port = "Ethernet";
    f.platform.reply = FromHex("C0 A8 01 64 FF FF FF 00 C0 A8 01 01 08 08 08 08");
    const ConnectOutcome outcome = f.link.Connect(NetworkParamQuery());
    EXPECT_TRUE(outcome.connected);
    EXPECT_FALSE(DecodeNetReply(outcome.netReply).valid);
    EXPECT_EQ(DecodeNetReply(outcome.netReply).ip, 0u);

    f.platform.reply.push_back(0x02);
    const ConnectOutcome full = f.link.Connect(NetworkParamQuery());
    EXPECT_TRUE(DecodeNetReply(full.netReply).valid);
    EXPECT_EQ(DecodeNetReply(full.netReply).ip, 0xC0A80164u);
    EXPECT_EQ(DecodeNetReply(full.netReply).dns, 0x08080808u);
    EXPECT_EQ(DecodeNetReply(full.netReply).dhcpIndex, 1);
    EXPECT_EQ(f.link.Kind(), LinkKind::Network);
    EXPECT_EQ(f.link.CaptureTarget().target.address.Dotted(), "127.0.0.1");
}
