// --log FILE: one JSON line per command handed to the link, none for refused input;
// a dry run logs what it would have sent. And --version.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>
#include <fstream>

#include "tests/cli/CliRun.h"
#include "tests/support/RecordingPlatform.h"

using namespace tallyx;
using namespace tallyx::test;

namespace {

class CliLog : public ::testing::Test {
protected:
    std::filesystem::path path = std::filesystem::temp_directory_path() /
                                 ("tallyx-cli-log-" + std::to_string(::getpid()) + ".jsonl");
    RecordingPlatform platform;

    void TearDown() override { std::filesystem::remove(path); }

    CliRun Run(std::vector<std::string> args)
    {
        args.insert(args.begin(), {"--log", path.string()});
        return RunCliWith(platform, args);
    }
    std::vector<nlohmann::json> Lines() const
    {
        std::vector<nlohmann::json> lines;
        std::ifstream in(path);
        for (std::string line; std::getline(in, line);) lines.push_back(nlohmann::json::parse(line));
        return lines;
    }
};

void ExpectLine(const nlohmann::json& j, const char* link, const char* target, const char* bytes, int length,
                const char* outcome)
{
    EXPECT_EQ(j["link"], link);
    EXPECT_EQ(j["target"], target);
    EXPECT_EQ(j["bytes"], bytes);
    EXPECT_EQ(j["length"], length);
    EXPECT_EQ(j["outcome"], outcome);
    const std::string time = j["time"];
    EXPECT_EQ(time.size(), 24u) << time;   // 2026-12-08T13:04:05.123Z
    EXPECT_EQ(time.back(), 'Z');
}

} // namespace

TEST_F(CliLog, ASentCommandIsOneLine)
{
    EXPECT_EQ(Run({"--port", "/dev/ttyS5", "init"}).status, 0);
    const auto lines = Lines();
    ASSERT_EQ(lines.size(), 1u);
    ExpectLine(lines[0], "serial", "/dev/ttyS5", "1B 40 0A", 3, "sent");
}

TEST_F(CliLog, LinesAreAppended)
{
    EXPECT_EQ(Run({"--port", "COM1", "init"}).status, 0);
    EXPECT_EQ(Run({"--port", "COM1", "bold"}).status, 0);
    const auto lines = Lines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0]["bytes"], "1B 40 0A");
    EXPECT_EQ(lines[1]["bytes"], "1B 45 01");
}

TEST_F(CliLog, RefusedInputWritesNoLine)
{
    const CliRun run = Run({"--port", "COM1", "text", "--hex", "4G"});
    EXPECT_EQ(run.status, 2);
    EXPECT_TRUE(std::filesystem::exists(path));
    EXPECT_TRUE(Lines().empty());
}

TEST_F(CliLog, ALinkFailureIsLoggedWithItsFault)
{
    platform.refuse = true;
    const CliRun run = Run({"--port", "Ethernet", "--ip", "127.0.0.1", "init"});
    EXPECT_EQ(run.status, 3);
    const auto lines = Lines();
    ASSERT_EQ(lines.size(), 1u);
    ExpectLine(lines[0], "network", "127.0.0.1:9100", "1B 40 0A", 3, "NotReached");
}

TEST_F(CliLog, AUsbPrinterThatDidNotOpenIsOneLinePerCommand)
{
    platform.usbOpens = false;
    for (const std::vector<std::string>& args : {std::vector<std::string>{"--port", "USB", "init"},
                                                 std::vector<std::string>{"--port", "USB", "selftest", "--count", "2"}}) {
        SCOPED_TRACE(Join(args));
        std::filesystem::remove(path);
        EXPECT_EQ(Run(args).status, 3);
        const auto lines = Lines();
        ASSERT_EQ(lines.size(), 1u);
        EXPECT_EQ(lines[0]["link"], "usb");
        EXPECT_EQ(lines[0]["target"], "/dev/usb/lp0");
        EXPECT_EQ(lines[0]["outcome"], "UsbOpenFailed");
    }
}

TEST_F(CliLog, DryRunLogsWhatWouldHaveBeenSent)
{
    const struct {
        std::vector<std::string> args;
        const char* link;
        const char* target;
    } rows[] = {
        {{"--dry-run", "--port", "Ethernet", "--ip", "10.0.0.7", "--tcp-port", "9101", "init"}, "network",
         "10.0.0.7:9101"},
        {{"--dry-run", "--port", "USB", "init"}, "usb", "USB"},
        {{"--dry-run", "--port", "/dev/ttyUSB0", "init"}, "serial", "/dev/ttyUSB0"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(Join(row.args));
        std::filesystem::remove(path);
        const CliRun run = Run(row.args);
        EXPECT_EQ(run.status, 0);
        EXPECT_EQ(run.out, "1B 40 0A\n");
        const auto lines = Lines();
        ASSERT_EQ(lines.size(), 1u);
        ExpectLine(lines[0], row.link, row.target, "1B 40 0A", 3, "dry-run");
    }
    EXPECT_TRUE(platform.calls.empty());
}

TEST_F(CliLog, DryRunRepetitionsAreOneLineEach)
{
    EXPECT_EQ(Run({"--dry-run", "--port", "COM1", "text", "--count", "2", "--hex", "41 0A"}).status, 0);
    const auto lines = Lines();
    ASSERT_EQ(lines.size(), 2u);
    for (const auto& line : lines) ExpectLine(line, "serial", "COM1", "41 0A", 2, "dry-run");
}

TEST_F(CliLog, ALogThatCannotBeOpenedStopsTheRun)
{
    const CliRun run = RunCliWith(platform, {"--log", "/nonexistent-dir/x.jsonl", "--port", "COM1", "init"});
    EXPECT_EQ(run.status, 3);
    EXPECT_EQ(run.err, "tallyx-cli: cannot open /nonexistent-dir/x.jsonl: No such file or directory\n");
    EXPECT_TRUE(platform.calls.empty());
}

TEST(CliVersion, PrintsTheProgramVersion)
{
    RecordingPlatform platform;
    const CliRun run = RunCliWith(platform, {"--version"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "tallyx 1.0\n");
}
