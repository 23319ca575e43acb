// tallyx-cli status against the virtual printer in the states a till meets: its JSON line
// and its exit status over TCP, and its words over the pseudo-terminal.
#include <gtest/gtest.h>


#include "tests/cli/CliRun.h"
#include "tests/support/LoopbackServer.h"
#include "tests/vprinter/RunningPrinter.h"

namespace tallyx::vprinter::test {
namespace {


class StatusCli : public RunningPrinter {
protected:
    tallyx::test::CliRun OverTcp(const std::vector<std::string>& more)
    {
        std::vector<std::string> args{"--port", "Ethernet", "--ip", "127.0.0.1", "--tcp-port",
                                      std::to_string(m_printer->TcpPort()), "status"};
        args.insert(args.end(), more.begin(), more.end());
        return tallyx::test::RunCliWith(m_platform, args);
    }
};

TEST_F(StatusCli, EachStateItsJsonAndExitStatus)
{
    const std::string identity = R"("model":"tallyx virtual printer 58","maker":"tallyx","firmware":")";
    const struct {
        const char* list;
        int exit;
        std::string json;   // the line up to the identity
    } rows[] = {
        {"", 0, R"({"online":true,"coverOpen":false,"feedButton":false,"drawerPin":false,"paper":"ok","errors":[],)"},
        {"paper-near-end", 0,
         R"({"online":true,"coverOpen":false,"feedButton":false,"drawerPin":false,"paper":"near-end","errors":[],)"},
        {"drawer-open", 0, R"({"online":true,"coverOpen":false,"feedButton":false,"drawerPin":true,"paper":"ok","errors":[],)"},
        {"paper-out", 4, R"({"online":false,"coverOpen":false,"feedButton":false,"drawerPin":false,"paper":"out","errors":[],)"},
        {"cover-open", 4, R"({"online":false,"coverOpen":true,"feedButton":false,"drawerPin":false,"paper":"ok","errors":[],)"},
        {"cutter-error", 4,
         R"({"online":false,"coverOpen":false,"feedButton":false,"drawerPin":false,"paper":"ok","errors":["cutter"],)"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.list);
        m_printer->SetStatus(*ParseStatusList(row.list));
        const auto run = OverTcp({"--json"});
        EXPECT_EQ(run.status, row.exit) << run.err;
        EXPECT_EQ(run.out.rfind(row.json, 0), 0u) << run.out;
        // A stopped printer drops GS I as it drops every command: its identity is null.
        const std::string tail = row.exit == 0 ? identity : R"("model":null,"maker":null,"firmware":null,"serial":null})";
        EXPECT_NE(run.out.find(tail), std::string::npos) << run.out;
    }
}

TEST_F(StatusCli, WordsOverThePtyAndTheDryRunsRequests)
{
    const auto run = tallyx::test::RunCliWith(m_platform, {"--port", m_printer->PtyPath(), "status"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out.substr(0, run.out.find("model")),
              "online: yes\ncover: closed\npaper: ok\ndrawer pin: low\nfeed button: released\nerrors: none\n");
    EXPECT_EQ(tallyx::test::RunCliWith(m_platform, {"--dry-run", "status"}).out,
              "10 04 01\n10 04 02\n10 04 03\n10 04 04\n1D 49 41\n1D 49 42\n1D 49 43\n1D 49 44\n");
}

TEST_F(StatusCli, NoPrinterIsExitThreeWithTheTableText)
{
    const tallyx::test::RefusingPort nobody;
    const auto run = tallyx::test::RunCliWith(
        m_platform, {"--port", "Ethernet", "--ip", "127.0.0.1", "--tcp-port", std::to_string(nobody.Port()), "status"});
    EXPECT_EQ(run.status, 3);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "与打印机连接不成功!\n");
}

} // namespace
} // namespace tallyx::vprinter::test
