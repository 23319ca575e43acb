// tallyx-cli cutter-test as a shell runs it: Ctrl-C during a run on a serial port.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
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
Child Spawn(const std::vector<std::string>& args, const std::string& errTerminal = {})
{
    int err[2];
    EXPECT_EQ(::pipe(err), 0);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
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
