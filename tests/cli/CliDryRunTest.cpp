// --dry-run: the bytes of every command, one line per send, and nothing opened.
#include <gtest/gtest.h>

#include "tests/cli/CliRun.h"
#include "tests/support/RecordingPlatform.h"

using namespace tallyx;
using namespace tallyx::test;

TEST(CliDryRun, CommandsWithoutParameter)
{
    ExpectPrinted({
        {{"init"}, "1B 40 0A\n"},
        {{"underline"}, "1B 2D 02 1C 2D 02 0A\n"},
        {{"bold"}, "1B 45 01\n"},
        {{"rotate"}, "1B 56 01\n"},
        {{"upside-down"}, "1B 7B 01\n"},
        {{"reverse"}, "1D 42 01\n"},
        {{"selftest-page"}, "1F 11 04\n"},
        {{"hex-mode"}, "1F 11 03\n"},
        {{"factory-reset"}, "1F 1B 19\n"},
        {{"drawer"}, "1B 70 00 30 30 00 1B 70 01 30 30\n"},
        {{"buzzer-test"}, "1B 42 03 02\n"},
    });
}

TEST(CliDryRun, CommandsWithTheWindowsListItems)
{
    ExpectPrinted({
        {{"print-mode", "ASCII"}, "1B 4E 03 00\n"},
        {{"print-mode", "Chinese"}, "1B 4E 03 01\n"},
        {{"density", "Level1"}, "1B 4E 04 01\n"},
        {{"density", "Level4"}, "1B 4E 04 04\n"},
        {{"printer-baud", "4800"}, "1B 4E 01 00\n"},
        {{"printer-baud", "9600"}, "1B 4E 01 01\n"},
        {{"printer-baud", "19200"}, "1B 4E 01 02\n"},
        {{"printer-baud", "38400"}, "1B 4E 01 03\n"},
        {{"printer-baud", "57600"}, "1B 4E 01 04\n"},
        {{"printer-baud", "115200"}, "1B 4E 01 05\n"},
        {{"buzzer", "ON"}, "1F 1B 11 01\n"},
        {{"buzzer", "OFF"}, "1F 1B 11 00\n"},
        {{"cutter", "ON"}, "1F 1B 12 01\n"},
        {{"cutter", "OFF"}, "1F 1B 12 00\n"},
        {{"font", "Font_1"}, "1F 1B 1F FA 00\n"},
        {{"font", "Font_3"}, "1F 1B 1F FA 02\n"},
        {{"align", "左对齐"}, "1B 61 00\n"},
        {{"align", "居中对齐"}, "1B 61 01\n"},
        {{"align", "右对齐"}, "1B 61 02\n"},
        {{"align", "left"}, "1B 61 00\n"},
        {{"align", "center"}, "1B 61 01\n"},
        {{"align", "right"}, "1B 61 02\n"},
        {{"magnify", "1倍"}, "1D 21 00\n"},
        {{"magnify", "3倍"}, "1D 21 22\n"},
        {{"magnify", "2"}, "1D 21 11\n"},
        {{"magnify", "4"}, "1D 21 33\n"},
    });
}

TEST(CliDryRun, RepeatedCommandsPrintOneLinePerSend)
{
    ExpectPrinted({
        {{"selftest"}, "1F 11 04 0A\n"},
        {{"selftest", "--count", "3"}, "1F 11 04 0A\n1F 11 04 0A\n1F 11 04 0A\n"},
        {{"selftest", "--count", "0"}, ""},
        {{"--port", "COM1", "selftest", "--count", "2"}, "1F 11 04 0A\n1F 11 04 0A\n"},
        {{"--port", "Ethernet", "text", "--count", "2", "ABC"}, "41 42 43\n41 42 43\n"},
        {{"text", "--count", "0", "ABC"}, ""},
        {{"text", ""}, "\n"},
    });
}

TEST(CliDryRun, TextIsSentAsGbkOrParsedAsHex)
{
    ExpectPrinted({
        {{"text", "ABC"}, "41 42 43\n"},
        {{"text", "中文"}, "D6 D0 CE C4\n"},
        {{"text", "A\xF0\x9F\x98\x80"}, "41 3F\n"},   // GBK has no emoji
        {{"text", "--hex", "1B 40 0A"}, "1B 40 0A\n"},
        {{"text", "--hex", "1b400a"}, "1B 40 0A\n"},
        {{"text", "--hex", "A 1"}, "0A 01\n"},
        {{"text", "--hex", "123"}, "12 03\n"},
        {{"text", "--hex", "\r\n  41"}, "41\n"},
        {{"text", "--", "-x"}, "2D 78\n"},
    });
}

TEST(CliDryRun, TextFromStandardInput)
{
    const std::pair<std::vector<std::string>, std::pair<std::string, std::string>> rows[] = {
        {{"--dry-run", "text", "-"}, {"中文\nA\n", "D6 D0 CE C4 0A 41 0A\n"}},
        {{"--dry-run", "text", "--hex", "-"}, {"1B 40\n0A\n", "1B 40 0A\n"}},
        {{"--dry-run", "text", "-"}, {"", "\n"}},
    };
    for (const auto& [args, io] : rows) {
        SCOPED_TRACE(Join(args));
        RecordingPlatform platform;
        const CliRun run = RunCliWith(platform, args, io.first);
        EXPECT_EQ(run.status, 0);
        EXPECT_EQ(run.out, io.second);
        EXPECT_TRUE(platform.calls.empty());
    }
}

TEST(CliDryRun, NetworkCommands)
{
    ExpectPrinted({
        {{"query-network"}, "10 04 13\n"},
        {{"set-network", "--dhcp", "NO", "--address", "192.168.1.200", "--mask", "255.255.255.0", "--gateway",
          "192.168.1.1", "--dns", "8.8.8.8"},
         "1F 1B 1D 02 C0 A8 01 C8 FF FF FF 00 C0 A8 01 01 08 08 08 08 01\n"},
        {{"set-network", "--dhcp", "YES"}, "1F 1B 1D 02 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 02\n"},
        {{"set-network", "--dhcp", "YES", "--address", "10.0.0.1", "--mask", "255.0.0.0"},
         "1F 1B 1D 02 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 02\n"},
    });
}

TEST(CliDryRun, LinkOptionsMayFollowTheCommand)
{
    ExpectPrinted({
        {{"init", "--port", "COM2", "--baud", "9600"}, "1B 40 0A\n"},
        {{"align", "center", "--ip", "10.0.0.9"}, "1B 61 01\n"},
    });
}
