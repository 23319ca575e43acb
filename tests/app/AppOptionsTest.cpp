// The window program's own options, read before any window exists.
#include <gtest/gtest.h>

#include "app/AppOptions.h"

namespace tallyx::test {
namespace {

TEST(AppOptions, EachOptionAndItsMistakes)
{
    const struct {
        std::vector<std::string> args;
        bool virtualPrinter, help, version;
        const char* logPath;
        const char* error;
    } rows[] = {
        {{}, false, false, false, "", ""},
        {{"--virtual-printer"}, true, false, false, "", ""},
        {{"--log", "sent.jsonl"}, false, false, false, "sent.jsonl", ""},
        {{"--log=/tmp/a b.jsonl", "--virtual-printer"}, true, false, false, "/tmp/a b.jsonl", ""},
        {{"--log"}, false, false, false, "", "--log: a file name is needed"},
        {{"--log="}, false, false, false, "", "--log: a file name is needed"},
        {{"--version"}, false, false, true, "", ""},
        {{"--help"}, false, true, false, "", ""},
        {{"-h"}, false, true, false, "", ""},
        // The toolkit's own options pass through untouched.
        {{"-platform", "offscreen", "--virtual-printer"}, true, false, false, "", ""},
    };
    for (const auto& row : rows) {
        std::string joined;
        for (const std::string& a : row.args) joined += a + ' ';
        SCOPED_TRACE(joined);
        const AppOptions o = ParseAppOptions(row.args);
        EXPECT_EQ(o.virtualPrinter, row.virtualPrinter);
        EXPECT_EQ(o.help, row.help);
        EXPECT_EQ(o.version, row.version);
        EXPECT_EQ(o.logPath, row.logPath);
        EXPECT_EQ(o.error, row.error);
    }
}

TEST(AppOptions, TheLivePageGoesWithTheVirtualPrinterOnLoopbackUnlessAHostIsGiven)
{
    const struct {
        std::vector<std::string> args;
        const char* host;
        uint16_t port;
        const char* error;
    } rows[] = {
        {{"--virtual-printer", "--http", "8080"}, "127.0.0.1", 8080, ""},
        {{"--http=0.0.0.0:80", "--virtual-printer"}, "0.0.0.0", 80, ""},
        {{"--http", "8080"}, "", 0, "--http: only with --virtual-printer"},
        {{"--virtual-printer", "--http=x:"}, "", 0, "--http: expected [HOST:]PORT, got x:"},
        {{"--virtual-printer", "--http"}, "", 0, "--http: [HOST:]PORT is needed"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.args[1]);
        const AppOptions o = ParseAppOptions(row.args);
        EXPECT_EQ(o.error, row.error);
        if (*row.error) continue;
        EXPECT_EQ(o.httpHost, row.host);
        EXPECT_EQ(o.httpPort, row.port);
    }
}

TEST(AppOptions, HelpNamesEveryOption)
{
    const std::string help = kAppHelp;
    for (const char* option : {"--virtual-printer", "--http [HOST:]PORT", "--log FILE", "--help", "--version"}) {
        SCOPED_TRACE(option);
        EXPECT_NE(help.find(option), std::string::npos);
    }
}

} // namespace
} // namespace tallyx::test
