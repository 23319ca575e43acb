// tallyx-cli against a printer that misbehaves on the network: the first failure ends the
// run with exit status 3 and one message, and no repetition follows it.
#include <gtest/gtest.h>

#include <thread>

#include "link/PosixPlatform.h"
#include "tests/cli/CliRun.h"
#include "tests/link/FaultyPrinter.h"

namespace tallyx::test {
namespace {

std::vector<std::string> ToPort(uint16_t port, std::vector<std::string> args)
{
    args.insert(args.begin(), {"--port", "Ethernet", "--ip", "127.0.0.1", "--tcp-port", std::to_string(port)});
    return args;
}

std::vector<std::string> WaitForConnections(FaultyPrinter& printer, size_t count)
{
    for (int i = 0; i < 200 && printer.Connections().size() < count; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return printer.Connections();
}

TEST(CliNetworkFault, ResetMidTextEndsTheRepeatsWithOneMessage)
{
    const std::string text(24574, 'A');   // the longest text the print-test box sends
    FaultyPrinter printer({0, 500});
    SlowLinePlatform platform;
    const CliRun run = RunCliWith(platform, ToPort(printer.Port(), {"text", "--count", "3", "-"}), text);

    EXPECT_EQ(run.status, 3);
    EXPECT_EQ(run.err, "与打印机连接不成功!\n");
    EXPECT_EQ(run.out, "");
    const std::vector<std::string> seen = WaitForConnections(printer, 1);
    ASSERT_EQ(seen.size(), 1u) << "a repetition followed the failure";
    EXPECT_EQ(seen[0], std::string(500, 'A'));
}

TEST(CliNetworkFault, RefusingPrinterIsTriedForOneCommandOnly)
{
    const BoundSocket refusing;
    ASSERT_GE(refusing.Fd(), 0);
    PosixPlatform platform;
    CliRun run;
    const int64_t took = TimedMs([&] { run = RunCliWith(platform, ToPort(refusing.Port(), {"selftest", "--count", "3"})); });

    EXPECT_EQ(run.status, 3);
    EXPECT_EQ(run.err, "与打印机连接不成功!\n");
    // One command's retry bound, not three.
    EXPECT_GE(took, 2900);
    EXPECT_LT(took, 4500);
}

TEST(CliNetworkFault, PrinterListeningLateGetsEachRepetitionOnce)
{
    FaultyPrinter printer({400, -1});
    PosixPlatform platform;
    const CliRun run = RunCliWith(platform, ToPort(printer.Port(), {"selftest", "--count", "2"}));

    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(WaitForConnections(printer, 2), (std::vector<std::string>{"\x1F\x11\x04\x0A", "\x1F\x11\x04\x0A"}));
}

} // namespace
} // namespace tallyx::test
