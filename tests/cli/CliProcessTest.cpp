// The built program itself: its streams and exit statuses as a shell sees them.
// Runs that open nothing (help, dry runs, refusals, usage errors), and a file as the port.
#include <gtest/gtest.h>

#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>

namespace {

struct Process {
    int status = -1;
    std::string out;
    std::string err;
};

// Runs tallyx-cli with `args`, feeding `input` on standard input; waits at most 10 s.
Process RunProgram(const std::vector<std::string>& args, const std::string& input = {})
{
    int in[2], out[2], err[2];
    EXPECT_EQ(::pipe(in), 0);
    EXPECT_EQ(::pipe(out), 0);
    EXPECT_EQ(::pipe(err), 0);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, in[0], 0);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_adddup2(&actions, err[1], 2);
    for (int fd : {in[0], in[1], out[0], out[1], err[0], err[1]}) posix_spawn_file_actions_addclose(&actions, fd);

    std::vector<char*> argv{const_cast<char*>(TALLYX_CLI_PATH)};
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    pid_t pid = -1;
    Process p;
    const int spawned = ::posix_spawn(&pid, TALLYX_CLI_PATH, &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(in[0]);
    ::close(out[1]);
    ::close(err[1]);
    EXPECT_EQ(spawned, 0);
    if (spawned == 0) {
        EXPECT_EQ(::write(in[1], input.data(), input.size()), ssize_t(input.size()));
    }
    ::close(in[1]);

    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    pollfd fds[2] = {{out[0], POLLIN, 0}, {err[0], POLLIN, 0}};
    std::string* sinks[2] = {&p.out, &p.err};
    int open = 2;
    while (open > 0 && std::chrono::steady_clock::now() < deadline) {
        if (::poll(fds, 2, 1000) <= 0) continue;
        for (int i = 0; i < 2; ++i) {
            if (fds[i].fd < 0 || !(fds[i].revents & (POLLIN | POLLHUP))) continue;
            char buf[4096];
            const ssize_t n = ::read(fds[i].fd, buf, sizeof buf);
            if (n > 0) {
                sinks[i]->append(buf, size_t(n));
            } else {
                ::close(fds[i].fd);
                fds[i].fd = -1;
                --open;
            }
        }
    }
    for (const pollfd& f : fds)
        if (f.fd >= 0) ::close(f.fd);
    if (spawned == 0) {
        if (open > 0) ::kill(pid, SIGKILL);
        int wstatus = 0;
        ::waitpid(pid, &wstatus, 0);
        p.status = WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : -1;
    }
    return p;
}

} // namespace

TEST(CliProcess, HelpOnStandardOutput)
{
    const Process p = RunProgram({"--help"});
    EXPECT_EQ(p.status, 0);
    EXPECT_NE(p.out.find("Usage: tallyx-cli"), std::string::npos);
    EXPECT_NE(p.out.find("query-network"), std::string::npos);
    EXPECT_EQ(p.err, "");
}

TEST(CliProcess, DryRunLines)
{
    const Process p = RunProgram({"--dry-run", "--port", "COM1", "selftest", "--count", "2"});
    EXPECT_EQ(p.status, 0);
    EXPECT_EQ(p.out, "1F 11 04 0A\n1F 11 04 0A\n");
    const Process in = RunProgram({"--dry-run", "text", "-"}, "中文");
    EXPECT_EQ(in.status, 0);
    EXPECT_EQ(in.out, "D6 D0 CE C4\n");
}

TEST(CliProcess, ExitStatusesOfRefusalAndUsage)
{
    const Process refused = RunProgram({"--port", "COM1", "text", "--hex", "4G"});
    EXPECT_EQ(refused.status, 2);
    EXPECT_EQ(refused.err, "十六进制字符输入有错误!\n");
    EXPECT_EQ(refused.out, "");
    const Process usage = RunProgram({"density", "Level9"});
    EXPECT_EQ(usage.status, 64);
    EXPECT_NE(usage.err.find("Level9"), std::string::npos);
    EXPECT_EQ(usage.out, "");
}

// A file named as the port is no serial port: refused, and never written to.
TEST(CliProcess, ARegularFileIsNoPort)
{
    const std::string path = ::testing::TempDir() + "tallyx-notes.txt";
    { std::ofstream(path) << "keep me"; }
    const Process p = RunProgram({"--port", path, "init"});
    EXPECT_EQ(p.status, 3);
    EXPECT_EQ(p.err, "此端口被占用或已损坏\ntallyx-cli: " + path + ": not a serial port\n");
    std::ifstream in(path);
    const std::string contents((std::istreambuf_iterator<char>(in)), {});
    EXPECT_EQ(contents, "keep me");
    std::remove(path.c_str());
}
