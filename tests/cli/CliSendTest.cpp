// Real sends: a pseudo-terminal for the serial port, a loopback server for the network,
// an empty fake sysfs tree for USB (so no real printer is ever reached).
#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

#include "link/PosixPlatform.h"
#include "tests/cli/CliRun.h"
#include "tests/support/FakeUsbTree.h"
#include "tests/support/Hex.h"
#include "tests/support/LoopbackServer.h"
#include "tests/support/PtyPrinter.h"

using namespace tallyx;
using namespace tallyx::test;

namespace {

struct SerialRun {
    CliRun run;
    std::string received;
};

SerialRun RunOnPty(std::vector<std::string> args, const std::string& stdinText = {})
{
    PtyPrinter printer;
    FakeUsbTree usb;   // no USB printer in it
    PosixPlatform platform(usb.Finder());
    args.insert(args.begin(), {"--port", printer.Path()});
    SerialRun result;
    std::thread reader([&] { result.received = printer.ReadAll(); });
    result.run = RunCliWith(platform, args, stdinText);
    reader.join();
    return result;
}

std::vector<std::string> OverTcp(const LoopbackServer& server, std::vector<std::string> args)
{
    args.insert(args.begin(), {"--port", "Ethernet", "--ip", "127.0.0.1", "--tcp-port", std::to_string(server.Port())});
    return args;
}

} // namespace

TEST(CliSerial, CommandsArriveOnThePort)
{
    const std::pair<std::vector<std::string>, std::string> rows[] = {
        {{"init"}, "1B 40 0A"},
        {{"font", "Font_3"}, "1F 1B 1F FA 02"},
        {{"drawer"}, "1B 70 00 30 30 00 1B 70 01 30 30"},
        {{"selftest", "--count", "3"}, "1F 11 04 0A 1F 11 04 0A 1F 11 04 0A"},
        {{"text", "--count", "2", "ABC"}, "41 42 43 41 42 43"},
        {{"text", "--hex", "1B 40 0A"}, "1B 40 0A"},
        {{"selftest", "--count", "0"}, ""},
    };
    for (const auto& [args, bytes] : rows) {
        SCOPED_TRACE(Join(args));
        const SerialRun r = RunOnPty(args);
        EXPECT_EQ(r.run.status, 0);
        EXPECT_EQ(r.run.err, "");
        EXPECT_EQ(r.run.out, "");
        EXPECT_EQ(Hex(r.received), bytes);
    }
}

TEST(CliSerial, TextFromStandardInputArrivesAsGbk)
{
    const SerialRun r = RunOnPty({"text", "-"}, "中文\n");
    EXPECT_EQ(r.run.status, 0);
    EXPECT_EQ(Hex(r.received), "D6 D0 CE C4 0A");
}

TEST(CliSerial, BaudTextConfiguresThePort)
{
    const std::pair<std::string, speed_t> rows[] = {{"19200", B19200}, {"115200", B115200}, {"fast", B9600}};
    for (const auto& [baud, speed] : rows) {
        SCOPED_TRACE(baud);
        PtyPrinter printer;
        PosixPlatform platform;
        const CliRun run = RunCliWith(platform, {"--port", printer.Path(), "--baud", baud, "bold"});
        EXPECT_EQ(run.status, 0);
        EXPECT_EQ(Hex(printer.ReadAll()), "1B 45 01");
        termios tio{};
        ASSERT_EQ(::tcgetattr(printer.Slave(), &tio), 0);
        EXPECT_EQ(::cfgetospeed(&tio), speed);
    }
}

// The window's words, then which port and why.
TEST(CliSerial, MissingDeviceIsBusyOrDamaged)
{
    PosixPlatform platform;
    const CliRun run = RunCliWith(platform, {"--port", "/dev/tallyx-no-such-port", "init"});
    EXPECT_EQ(run.status, 3);
    EXPECT_EQ(run.err, "此端口被占用或已损坏\ntallyx-cli: /dev/tallyx-no-such-port: no such device\n");
}

TEST(CliUsb, NoPrinterInTheTree)
{
    FakeUsbTree usb;   // no USB printer in it
    PosixPlatform platform(usb.Finder());
    const CliRun run = RunCliWith(platform, {"init"});   // USB is the default port
    EXPECT_EQ(run.status, 3);
    EXPECT_EQ(run.err, "无法找到USB设备\n");
}

TEST(CliTcp, EachSendIsOneConnection)
{
    const std::pair<std::vector<std::string>, std::vector<std::string>> rows[] = {
        {{"init"}, {"1B 40 0A"}},
        {{"selftest", "--count", "2"}, {"1F 11 04 0A", "1F 11 04 0A"}},
        {{"text", "--count", "2", "中文"}, {"D6 D0 CE C4", "D6 D0 CE C4"}},
        {{"set-network", "--dhcp", "YES"}, {"1F 1B 1D 02 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 02"}},
        {{"set-network", "--dhcp", "NO", "--address", "192.168.1.200", "--mask", "255.255.255.0", "--gateway",
          "192.168.1.1", "--dns", "8.8.8.8"},
         {"1F 1B 1D 02 C0 A8 01 C8 FF FF FF 00 C0 A8 01 01 08 08 08 08 01"}},
    };
    for (const auto& [args, connections] : rows) {
        SCOPED_TRACE(Join(args));
        LoopbackServer server;
        PosixPlatform platform;
        const CliRun run = RunCliWith(platform, OverTcp(server, args));
        EXPECT_EQ(run.status, 0);
        EXPECT_EQ(run.err, "");
        std::vector<std::string> got;
        for (const std::string& c : server.WaitForConnections(connections.size())) got.push_back(Hex(c));
        EXPECT_EQ(got, connections);
        EXPECT_EQ(server.ConnectionCount(), connections.size());
    }
}

TEST(CliTcp, QueryNetworkPrintsThePrintersSettings)
{
    LoopbackServer::Options options;
    // ip 192.168.1.100, mask 255.255.255.0, gateway 192.168.1.1, dns 114.114.114.114, DHCP "YES"
    options.reply = std::string("\xC0\xA8\x01\x64\xFF\xFF\xFF\x00\xC0\xA8\x01\x01\x72\x72\x72\x72\x02\x00\x00\x00\x00\x00",
                                22);
    LoopbackServer server(options);
    PosixPlatform platform;
    const CliRun run = RunCliWith(platform, OverTcp(server, {"query-network"}));
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out, "ip 192.168.1.100\nmask 255.255.255.0\ngateway 192.168.1.1\ndns 114.114.114.114\ndhcp YES\n");
    const auto sent = server.WaitForConnections(1);
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(Hex(sent[0]), "10 04 13");
}

TEST(CliTcp, QueryNetworkDhcpByteAndShortReply)
{
    const std::pair<std::string, std::pair<int, std::string>> rows[] = {
        {std::string(16, '\0') + "\x01", {0, "dhcp NO\n"}},
        {std::string(16, '\0') + "\x00" + std::string(5, '\0'), {0, "dhcp unknown 00\n"}},
        {std::string(16, '\0') + "\x07", {0, "dhcp unknown 07\n"}},
        {std::string(16, '\x01'), {3, ""}},
    };
    for (const auto& [reply, expected] : rows) {
        SCOPED_TRACE(Hex(reply));
        LoopbackServer::Options options;
        options.reply = reply;
        LoopbackServer server(options);
        PosixPlatform platform;
        const CliRun run = RunCliWith(platform, OverTcp(server, {"query-network"}));
        EXPECT_EQ(run.status, expected.first);
        if (expected.first == 0) {
            EXPECT_EQ(run.out.substr(run.out.rfind("dhcp")), expected.second);
        } else {
            EXPECT_EQ(run.out, "");
            EXPECT_EQ(run.err, "tallyx-cli: the printer's answer to the network query is too short\n");
        }
    }
}

TEST(CliTcp, RefusedQueryIsALinkFailure)
{
    RefusingPort refusing;
    PosixPlatform platform;
    const CliRun run = RunCliWith(platform, {"--ip", "127.0.0.1", "--tcp-port", std::to_string(refusing.Port()),
                                             "query-network"});
    EXPECT_EQ(run.status, 3);
    EXPECT_EQ(run.err, "与打印机连接不成功!\n");
    EXPECT_EQ(run.out, "");
}
