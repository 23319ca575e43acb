// tallyx-cli as a shell runs it: Ctrl-C during a cutter run and during a status watch on a
// serial port.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <fstream>
#include <sstream>
#include <thread>

#include "tests/support/Hex.h"
#include "tests/support/PtyPrinter.h"

using namespace tallyx::test;

namespace {

struct Child {
    pid_t pid = -1;
    int err = -1;   // read end of its standard error
};

// Standard error goes to a pipe, or to the terminal `errTerminal` when one is named.
Child Spawn(const std::vector<std::string>& args, const std::string& errTerminal = {},
            const std::string& outPath = "/dev/null")
{
    int err[2];
    EXPECT_EQ(::pipe(err), 0);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (errTerminal.empty()) posix_spawn_file_actions_adddup2(&actions, err[1], 2);
    else posix_spawn_file_actions_addopen(&actions, 2, errTerminal.c_str(), O_WRONLY | O_NOCTTY, 0);
    posix_spawn_file_actions_addclose(&actions, err[0]);
    posix_spawn_file_actions_addclose(&actions, err[1]);
    std::vector<char*> argv{const_cast<char*>(TALLYX_CLI_PATH)};
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    Child child;
    EXPECT_EQ(::posix_spawn(&child.pid, TALLYX_CLI_PATH, &actions, nullptr, argv.data(), environ), 0);
    posix_spawn_file_actions_destroy(&actions);
    ::close(err[1]);
    child.err = err[0];
    return child;
}

// The exit status, or -1 when it did not end within 10 s (then it is killed).
int WaitExit(pid_t pid)
{
    int wstatus = 0;
    for (int i = 0; i < 1000; ++i) {
        if (::waitpid(pid, &wstatus, WNOHANG) == pid) return WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : -1;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ::kill(pid, SIGKILL);
    ::waitpid(pid, &wstatus, 0);
    return -1;
}

std::string ReadToEnd(int fd)
{
    std::string text;
    char buf[512];
    ssize_t n;
    while ((n = ::read(fd, buf, sizeof buf)) > 0) text.append(buf, size_t(n));
    ::close(fd);
    return text;
}

} // namespace

TEST(CutterInterrupt, CtrlCStopsAfterTheCycleInProgressWithStatus130)
{
    PtyPrinter printer;
    const Child child = Spawn({"--port", printer.Path(), "cutter-test", "--count", "50", "--delay", "2000"});
    ASSERT_GT(child.pid, 0);
    const std::string first = printer.Read(14);
    EXPECT_EQ(Hex(first), "30 30 30 30 30 30 30 31 0A 0A 1D 56 41 00");
    ::kill(child.pid, SIGINT);
    EXPECT_EQ(WaitExit(child.pid), 130);
    EXPECT_EQ(ReadToEnd(child.err), "tallyx-cli: interrupted, cycles sent: 1\n");
    EXPECT_EQ(printer.ReadAll(), "");   // no second cycle
}

TEST(CutterInterrupt, ProgressLinesOnATerminal)
{
    PtyPrinter printer;
    PtyPrinter terminal;   // a raw terminal standing in for the operator's
    const Child child = Spawn({"--port", printer.Path(), "cutter-test", "--count", "2", "--delay", "0"}, terminal.Path());
    ASSERT_GT(child.pid, 0);
    EXPECT_EQ(Hex(printer.Read(28)), "30 30 30 30 30 30 30 31 0A 0A 1D 56 41 00 30 30 30 30 30 30 30 32 0A 0A 1D 56 41 00");
    EXPECT_EQ(WaitExit(child.pid), 0);
    EXPECT_EQ(terminal.ReadAll(), "cycle 1/2\ncycle 2/2\n");
    EXPECT_EQ(ReadToEnd(child.err), "");
}

TEST(StatusWatch, PrintsOnlyChangesUntilCtrlCWithStatus130)
{
    PtyPrinter printer;
    std::atomic<char> status{0x12};
    std::atomic<int> identityAsked{0}, statusAsked{0};
    std::jthread responder([&](std::stop_token done) {
        while (!done.stop_requested()) {
            const std::string q = printer.Read(3);
            if (q.size() == 3 && q[0] == 0x10) {
                ++statusAsked;
                printer.Write(std::string(1, status.load()));
            }
            if (q.size() == 3 && q[0] == 0x1D) ++identityAsked;   // never answered
        }
    });
    const std::string outPath = "/tmp/tallyx-watch-" + std::to_string(::getpid()) + ".out";
    const Child child = Spawn({"--port", printer.Path(), "status", "--json", "--watch", "0.05"}, {}, outPath);
    ASSERT_GT(child.pid, 0);
    // The first round waits a bound for GS I; the rounds after it ask the status alone.
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    status = 0x1A;   // offline
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    ::kill(child.pid, SIGINT);
    EXPECT_EQ(WaitExit(child.pid), 130);
    responder.request_stop();
    std::ifstream file(outPath);
    std::stringstream out;
    out << file.rdbuf();
    ::unlink(outPath.c_str());
    std::string line;
    std::vector<std::string> lines;
    while (std::getline(out, line)) lines.push_back(line);
    ASSERT_EQ(lines.size(), 2u) << out.str();
    EXPECT_EQ(lines[0].rfind(R"({"online":true,)", 0), 0u);
    EXPECT_EQ(lines[1].rfind(R"({"online":false,)", 0), 0u);
    EXPECT_EQ(identityAsked.load(), 1) << "GS I 65 once; the rest of the identity skipped after its silence";
    EXPECT_GE(statusAsked.load(), 4 * 5) << "five rounds or more";
}
