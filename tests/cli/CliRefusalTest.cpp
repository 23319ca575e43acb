// Exit statuses: 2 with the window's message for refused input, 3 with the link's message
// for a failed link, 64 for a command line that does not parse.
#include <gtest/gtest.h>

#include "tests/cli/CliRun.h"
#include "tests/support/RecordingPlatform.h"

using namespace tallyx;
using namespace tallyx::test;

namespace {

struct Row {
    std::vector<std::string> args;
    int status;
    std::string err;
};

void ExpectRefusals(const std::vector<Row>& rows, const std::function<void(RecordingPlatform&)>& setUp = {})
{
    for (const Row& row : rows) {
        SCOPED_TRACE(Join(row.args));
        ExpectCli(row.args, {row.status, "", row.err, false}, {}, setUp);
    }
}

const std::vector<std::string> kFullAddresses{"--address", "192.168.1.200", "--mask", "255.255.255.0",
                                              "--gateway", "192.168.1.1", "--dns", "8.8.8.8"};

std::vector<std::string> SetNetwork(std::vector<std::string> addresses)
{
    std::vector<std::string> args{"--port", "Ethernet", "set-network", "--dhcp", "NO"};
    args.insert(args.end(), addresses.begin(), addresses.end());
    return args;
}

} // namespace

TEST(CliRefusal, PrintTestLengthAndHexChecks)
{
    const std::string longest(24574, 'A');
    const std::string tooLong(24575, 'A');
    RecordingPlatform platform;
    const CliRun ok = RunCliWith(platform, {"--dry-run", "text", longest});
    EXPECT_EQ(ok.status, 0);
    EXPECT_EQ(ok.out.size(), 24574u * 3);   // "41 " per byte, the last space is the line break

    ExpectRefusals({
        {{"--dry-run", "text", tooLong}, 2, "输入太多了!\n"},
        {{"--port", "COM1", "text", tooLong}, 2, "输入太多了!\n"},
        {{"--dry-run", "text", "--hex", std::string(24575, '4')}, 2, "输入太多了!\n"},
        {{"--dry-run", "text", "--hex", "4G"}, 2, "十六进制字符输入有错误!\n"},
        {{"--port", "COM1", "text", "--hex", "中文"}, 2, "十六进制字符输入有错误!\n"},
        {{"--port", "COM1", "text", "--count", "0", "--hex", "4G"}, 2, "十六进制字符输入有错误!\n"},
    });
    // The limit counts GBK bytes: 12287 Chinese characters are 36861 bytes of UTF-8 but 24574 of GBK.
    std::string chinese;
    for (int i = 0; i < 12287; ++i) chinese += "中";
    EXPECT_EQ(RunCliWith(platform, {"--dry-run", "text", chinese}).status, 0);
    EXPECT_EQ(RunCliWith(platform, {"--dry-run", "text", chinese + "A"}).err, "输入太多了!\n");
    EXPECT_TRUE(platform.calls.empty());
}

TEST(CliRefusal, StandardInputTooLongIsRefusedWithoutReadingItAll)
{
    RecordingPlatform platform;
    const CliRun at = RunCliWith(platform, {"--dry-run", "text", "-"}, std::string(24574, 'x'));
    EXPECT_EQ(at.status, 0);
    const CliRun over = RunCliWith(platform, {"--dry-run", "text", "-"}, std::string(24575, 'x'));
    EXPECT_EQ(over.status, 2);
    EXPECT_EQ(over.err, "输入太多了!\n");
    const CliRun huge = RunCliWith(platform, {"--dry-run", "text", "-"}, std::string(1 << 20, 'x'));
    EXPECT_EQ(huge.status, 2);
    EXPECT_EQ(huge.err, "输入太多了!\n");
}

TEST(CliRefusal, NetworkParameterChecksInTheWindowsOrder)
{
    ExpectRefusals({
        {SetNetwork({}), 2, "要设置的ip地址为空!\n"},
        {SetNetwork({"--address", "192.168.1"}), 2, "您输入的ip地址不完整!\n"},
        {SetNetwork({"--address", "192.168.1."}), 2, "您输入的ip地址不完整!\n"},
        {SetNetwork({"--address", "192.168.1.200"}), 2, "要设置的子网掩码为空!\n"},
        {SetNetwork({"--address", "192.168.1.200", "--mask", "255.255"}), 2, "您输入的子网掩码不完整!\n"},
        {SetNetwork({"--address", "192.168.1.200", "--mask", "255.255.255.0", "--dns", "8.8.8.8"}), 2,
         "要设置的网关为空!\n"},
        {SetNetwork({"--address", "192.168.1.200", "--mask", "255.255.255.0", "--gateway", "192..1.1"}), 2,
         "您输入的网关地址不完整!\n"},
        {SetNetwork({"--address", "192.168.1.200", "--mask", "255.255.255.0", "--gateway", "192.168.1.1"}), 2,
         "要设置的DNS为空!\n"},
        {SetNetwork({"--address", "192.168.1.200", "--mask", "255.255.255.0", "--gateway", "192.168.1.1", "--dns",
                     "8"}),
         2, "您输入的DNS地址不完整!\n"},
    });
}

TEST(CliRefusal, PrinterAddressIsCheckedBeforeAnyConnection)
{
    std::vector<std::string> blankIp = SetNetwork(kFullAddresses);
    blankIp.insert(blankIp.begin(), {"--ip", ""});
    std::vector<std::string> shortIp = SetNetwork(kFullAddresses);
    shortIp.insert(shortIp.begin(), {"--ip", "192.168.1"});
    ExpectRefusals({
        {{"--port", "Ethernet", "--ip", "", "init"}, 2, "远程IP地址为空!\n"},
        {{"--port", "Ethernet", "--ip", "192.168.1", "init"}, 2, "您输入的IP地址不完整!\n"},
        {{"--port", "Ethernet", "--ip", "...", "selftest", "--count", "3"}, 2, "远程IP地址为空!\n"},
        {{"--ip", "192.168..100", "query-network"}, 2, "你输入的IP地址不完整!\n"},
        {{"--ip", "", "query-network"}, 2, "远程IP地址为空!\n"},
        {blankIp, 2, "远程IP地址为空!\n"},
        {shortIp, 2, "您输入的IP地址不完整!\n"},
    });
    RecordingPlatform platform;
    RunCliWith(platform, {"--port", "Ethernet", "--ip", "", "init"});
    EXPECT_TRUE(platform.calls.empty());
}

TEST(CliRefusal, LinkFailuresExitThree)
{
    ExpectRefusals({{{"--port", "COM1", "init"}, 3, "此端口被占用或已损坏\ntallyx-cli: /dev/ttyS0: no such device\n"}},
                   [](RecordingPlatform& p) { p.serialOpens["COM1"] = false; });
    ExpectRefusals({{{"init"}, 3, "无法找到USB设备\n"}},
                   [](RecordingPlatform& p) { p.usb = {UsbFind::NoInterface, "", ""}; });
    ExpectRefusals({{{"--port", "USB", "selftest"}, 3, "tallyx-cli: the USB printer could not be opened\n"}},
                   [](RecordingPlatform& p) { p.usb = {UsbFind::NoDeviceSet, "", ""}; });
    ExpectRefusals({{{"init"}, 3, "此端口被占用或已损坏\n"}, {{"selftest", "--count", "2"}, 3, "此端口被占用或已损坏\n"}},
                   [](RecordingPlatform& p) { p.usbOpens = false; });
    ExpectRefusals({{{"--port", "Ethernet", "--ip", "127.0.0.1", "init"}, 3, "与打印机连接不成功!\n"},
                    {{"--port", "Ethernet", "--ip", "127.0.0.1", "selftest", "--count", "3"}, 3,
                     "与打印机连接不成功!\n"},
                    {{"--ip", "127.0.0.1", "query-network"}, 3, "与打印机连接不成功!\n"},
                    {SetNetwork(kFullAddresses), 3, "通讯不成功,请断开再重新连接!\n"}},
                   [](RecordingPlatform& p) { p.refuse = true; });
    ExpectRefusals({{{"--port", "Ethernet", "init"}, 3, "创建套接字失败\n"}},
                   [](RecordingPlatform& p) { p.socketOpens = false; });
    ExpectRefusals({{{"query-network"}, 3, "tallyx-cli: the printer's answer to the network query is too short\n"}},
                   [](RecordingPlatform& p) { p.reply = Bytes(16, 0x01); });
}

TEST(CliRefusal, CommandLinesThatDoNotParseExitSixtyFour)
{
    const std::vector<std::string> rows[] = {
        {},
        {"print"},
        {"init", "extra"},
        {"density", "Level5"},
        {"density"},
        {"align", "Left"},
        {"magnify", "1.33倍"},
        {"magnify", "5"},
        {"buzzer", "on"},
        {"--ip", "300.1.1.1", "init"},
        {"--ip", "1.2.3.4.5", "init"},
        {"--ip", "1.2.3.x", "init"},
        {"--ip", " 1.2.3.4", "init"},
        {"--tcp-port", "0", "init"},
        {"--tcp-port", "65536", "init"},
        {"selftest", "--count", "-1"},
        {"selftest", "--count", "4294967296"},
        {"text"},
        {"text", "--count", "x", "A"},
        {"set-network"},
        {"set-network", "--dhcp", "yes"},
        {"set-network", "--dhcp", "NO", "--mask", "255.255.255.256"},
        {"init", "bold"},
    };
    for (const auto& args : rows) {
        SCOPED_TRACE(Join(args));
        RecordingPlatform platform;
        const CliRun run = RunCliWith(platform, args);
        EXPECT_EQ(run.status, 64);
        EXPECT_FALSE(run.err.empty());
        EXPECT_EQ(run.out, "");
        EXPECT_TRUE(platform.calls.empty());
    }
}

// A watch polls at most every 0.05 s and at least once a day; the refusal says so in words.
TEST(CliRefusal, WatchIntervalOutsideItsRange)
{
    for (const char* interval : {"nan", "1e-9", "0", "0.04", "86401", "inf", "2s"}) {
        SCOPED_TRACE(interval);
        RecordingPlatform platform;
        const CliRun run = RunCliWith(platform, {"status", "--watch", interval});
        EXPECT_EQ(run.status, 64);
        EXPECT_NE(run.err.find("an interval from 0.05 seconds to one day (86400 seconds)"), std::string::npos)
            << run.err;
        EXPECT_TRUE(platform.calls.empty());
    }
}

TEST(CliRefusal, HelpIsNotAnError)
{
    for (const std::vector<std::string>& args : {std::vector<std::string>{"--help"}, {"density", "--help"},
                                                  {"text", "--help"}, {"set-network", "--help"}}) {
        SCOPED_TRACE(Join(args));
        RecordingPlatform platform;
        const CliRun run = RunCliWith(platform, args);
        EXPECT_EQ(run.status, 0);
        EXPECT_NE(run.out.find("Usage: tallyx-cli"), std::string::npos);
        EXPECT_EQ(run.err, "");
    }
    RecordingPlatform platform;
    EXPECT_NE(RunCliWith(platform, {"density", "--help"}).out.find("{Level1,Level2,Level3,Level4}"), std::string::npos);
    EXPECT_NE(RunCliWith(platform, {"align", "--help"}).out.find("{左对齐,居中对齐,右对齐,left,center,right}"),
              std::string::npos);
    EXPECT_NE(RunCliWith(platform, {"set-network", "--help"}).out.find("{NO,YES}"), std::string::npos);
}
