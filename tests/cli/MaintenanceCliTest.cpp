// codepage, cutter-test and voice: dry runs, refusals, usage errors and real sends.
#include <gtest/gtest.h>

#include "tests/cli/CliRun.h"
#include "tests/support/CutCycles.h"
#include "tests/support/RecordingPlatform.h"
#include "tests/support/LoopbackServer.h"
#include "link/PosixPlatform.h"

using namespace tallyx;
using namespace tallyx::test;

TEST(MaintenanceCli, DryRuns)
{
    ExpectPrinted({
        {{"codepage", "set", "--index", "0"}, "1F 1B 1F FF 00 0A 0A\n"},
        {{"codepage", "set", "--index", "11"}, "1F 1B 1F FF 10 0A 0A\n"},
        {{"codepage", "set", "--index", "70"}, "1F 1B 1F FF 5D 0A 0A\n"},
        {{"codepage", "set", "--index", "74"}, "1F 1B 1F FF FF 0A 0A\n"},
        {{"codepage", "selftest"}, "1F 11 04\n"},
        {{"cutter-test"}, kCycle1 + "\n" + kCycle2 + "\n"},
        {{"cutter-test", "--count", "3", "--delay", "5000"}, kCycle1 + "\n" + kCycle2 + "\n" + kCycle3 + "\n"},
        {{"cutter-test", "--count", "1", "--delay", "0"}, kCycle1 + "\n"},
        {{"voice", "play", "1"}, "1F 12 10 01\n"},
        {{"voice", "play", "22"}, "1F 12 10 16\n"},
        {{"voice", "amount", "12.50"}, "1F 13 05 31 32 2E 35 30\n"},
        {{"voice", "amount", "."}, "1F 13 01 2E\n"},
        {{"voice", "amount", "1.2.3"}, "1F 13 05 31 2E 32 2E 33\n"},
        {{"voice", "amount", "9999999.99"}, "1F 13 0A 39 39 39 39 39 39 39 2E 39 39\n"},
    }, {"--dry-run", "--port", "COM1"});
}

TEST(MaintenanceCli, ChartDryRunIsOneLineOf277Bytes)
{
    RecordingPlatform platform;
    const CliRun run = RunCliWith(platform, {"--dry-run", "codepage", "chart"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out.size(), 277u * 3);   // pairs and spaces, a newline for the last space
    EXPECT_EQ(run.out.substr(0, 27), "1B 40 1C 2E 1B 21 00 80 81 ");
    EXPECT_EQ(run.out.substr(run.out.size() - 24), "1B 40 1D 56 41 48 1C 26\n");
}

TEST(MaintenanceCli, LongestCutterDryRunNeitherPausesNorStops)
{
    RecordingPlatform platform;
    const CliRun run = RunCliWith(platform, {"--dry-run", "cutter-test", "--count", "99999", "--delay", "5000"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 99999);
    EXPECT_EQ(run.out.substr(run.out.size() - 42), "30 30 30 39 39 39 39 39 0A 0A 1D 56 41 00\n");
}

TEST(MaintenanceCli, RefusalsWithTheDialogsMessages)
{
    const std::vector<PrintRow> rows = {
        {{"cutter-test", "--count", "100000"}, "不适用的范围，最大为99999次！\n"},
        {{"cutter-test", "--count", "99999", "--delay", "5001"}, "延时不对，最大延时是5000ms\n"},
        {{"cutter-test", "--count", "0"}, "不适用的范围，最小为1次！\n"},
        {{"cutter-test", "--count", "0", "--delay", "9000"}, "不适用的范围，最小为1次！\n"},
        {{"voice", "amount", ""}, "请输入金额数据!\n"},
        {{"voice", "amount", "123456789012"}, "输入的数字太多了!\n"},
        {{"voice", "amount", "12a"}, "输入的金额数字非法!\n"},
        {{"voice", "amount", "10000000"}, "输入的金额超出范围了!\n"},
        {{"voice", "amount", "中文"}, "输入的金额数字非法!\n"},
    };
    for (const Strings& front : {Strings{"--dry-run"}, Strings{"--port", "COM1"}}) ExpectPrinted(rows, front, 2);
}

TEST(MaintenanceCli, UsageErrors)
{
    const Strings rows[] = {
        {"codepage"},
        {"codepage", "print"},
        {"codepage", "set"},
        {"codepage", "set", "--index", "75"},
        {"codepage", "set", "--index", "-1"},
        {"voice"},
        {"voice", "play", "0"},
        {"voice", "play", "23"},
        {"voice", "jump"},
        {"cutter-test", "--count", "-1"},
        {"cutter-test", "--count", "4294967296"},
        {"cutter-test", "--delay", "soon"},
    };
    for (const Strings& args : rows) {
        SCOPED_TRACE(Join(args));
        RecordingPlatform platform;
        const CliRun run = RunCliWith(platform, With({"--dry-run"}, args));
        EXPECT_EQ(run.status, 64);
        EXPECT_EQ(run.out, "");
        EXPECT_NE(run.err, "");
    }
}

TEST(MaintenanceCli, SendsThroughTheDeliveryRule)
{
    RecordingPlatform platform;
    const CliRun set = RunCliWith(platform, {"--port", "COM1", "codepage", "set", "--index", "70"});
    EXPECT_EQ(set.status, 0);
    EXPECT_EQ(platform.Writes(), Strings{"1F 1B 1F FF 5D 0A 0A"});
    platform.calls.clear();
    const CliRun voice = RunCliWith(platform, {"--port", "COM1", "voice", "play", "5"});
    EXPECT_EQ(voice.status, 0);
    EXPECT_EQ(platform.Writes(), Strings{"1F 12 10 05"});
}

TEST(MaintenanceCli, CutterRunOnASerialPort)
{
    RecordingPlatform platform;
    const CliRun run = RunCliWith(platform, {"--port", "COM1", "cutter-test", "--count", "3", "--delay", "0"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "");   // not a terminal: no progress lines
    EXPECT_EQ(platform.Writes(), (Strings{kCycle1, kCycle2, kCycle3}));
    EXPECT_EQ(platform.calls.back(), "close");   // the port is closed at the end
}

TEST(MaintenanceCli, CutterRunOverTheNetwork)
{
    LoopbackServer printer;
    PosixPlatform platform;
    const CliRun run = RunCliWith(platform, {"--port", "Ethernet", "--ip", "127.0.0.1", "--tcp-port",
                                             std::to_string(printer.Port()), "cutter-test", "--count", "2", "--delay", "0"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "");
    const auto connections = printer.WaitForConnections(2);
    ASSERT_EQ(connections.size(), 2u);
    EXPECT_EQ(Hex(connections[0]), kCycle1);
    EXPECT_EQ(Hex(connections[1]), kCycle2);
}

TEST(MaintenanceCli, CutterRunRefusedOnABrokenUsbPort)
{
    RecordingPlatform platform;
    platform.usbOpens = false;
    const CliRun run = RunCliWith(platform, {"--port", "USB", "cutter-test", "--count", "1", "--delay", "0"});
    EXPECT_EQ(run.status, 3);
    EXPECT_EQ(run.err, "此端口被占用或已损坏\n");
    EXPECT_TRUE(platform.Writes().empty());
}
