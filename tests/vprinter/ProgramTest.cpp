// tallyx-vprinter as a program: options, the ready line, the log file, a clean stop on
// SIGTERM; and the window's virtual printer ended by a signal.
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <netinet/in.h>
#include <nlohmann/json.hpp>
#include <poll.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "vprinter/device/StateStore.h"

extern char** environ;

namespace tallyx::vprinter::test {
namespace {

namespace fs = std::filesystem;
constexpr int kWaitMs = 5000;

class Program : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_dir = fs::temp_directory_path() / ("tallyx-vp-program-" + std::to_string(::getpid()));
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
    }
    void TearDown() override
    {
        if (m_pid > 0) {
            ::kill(m_pid, SIGKILL);
            ::waitpid(m_pid, nullptr, 0);
        }
        if (m_err >= 0) ::close(m_err);
        fs::remove_all(m_dir);
    }

    // Starts the program with its standard error on a pipe; returns what it printed up to
    // its ready line (or up to the time limit).
    std::string Launch(std::vector<std::string> args)
    {
        int pipeFds[2];
        EXPECT_EQ(::pipe(pipeFds), 0);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, pipeFds[1], 2);
        posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
        args.insert(args.begin(), VPRINTER_PROGRAM);
        std::vector<char*> argv;
        for (auto& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        EXPECT_EQ(posix_spawn(&m_pid, VPRINTER_PROGRAM, &actions, nullptr, argv.data(), environ), 0);
        posix_spawn_file_actions_destroy(&actions);
        ::close(pipeFds[1]);
        m_err = pipeFds[0];
        std::string text;
        const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(kWaitMs);
        while (text.find("ready") == std::string::npos || text.back() != '\n') {
            pollfd p{m_err, POLLIN, 0};
            if (std::chrono::steady_clock::now() > until || ::poll(&p, 1, 100) < 0) break;
            char buffer[256];
            if (p.revents & (POLLIN | POLLHUP)) {
                ssize_t n = ::read(m_err, buffer, sizeof buffer);
                if (n <= 0) break;
                text.append(buffer, size_t(n));
            }
        }
        return text;
    }

    // Waits (bounded) for the program to end; its exit status, or -1.
    int WaitExit()
    {
        for (int waited = 0; waited < kWaitMs; waited += 10) {
            int status = 0;
            if (::waitpid(m_pid, &status, WNOHANG) == m_pid) {
                m_pid = -1;
                return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return -1;
    }

    fs::path m_dir;
    pid_t m_pid = -1;
    int m_err = -1;
};

TEST_F(Program, ServesLogsAndWritesTheLastReceiptOnSigterm)
{
    const std::string log = (m_dir / "log.jsonl").string();
    const std::string ready = Launch({"--listen", "127.0.0.1:0", "--out", (m_dir / "out").string(), "--log", log,
                                      "--state", (m_dir / "state.json").string(), "--paper", "80", "--http",
                                      "127.0.0.1:0"});
    const auto at = ready.find("ready on 127.0.0.1:");
    ASSERT_NE(at, std::string::npos) << ready;
    EXPECT_NE(ready.find(", page http://127.0.0.1:"), std::string::npos) << ready;
    const int port = std::stoi(ready.substr(at + 19));

    int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(uint16_t(port));
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
    // The query last: its answer shows that everything before it has been taken.
    const uint8_t bytes[] = {0x1B, 0x4E, 0x04, 0x02, 0x41, 0x0A, 0x10, 0x04, 0x13};
    ASSERT_EQ(::write(fd, bytes, sizeof bytes), ssize_t(sizeof bytes));
    size_t got = 0;
    uint8_t reply[22];
    for (pollfd p{fd, POLLIN, 0}; got < sizeof reply && ::poll(&p, 1, kWaitMs) == 1;) {
        ssize_t n = ::read(fd, reply + got, sizeof reply - got);
        if (n <= 0) break;
        got += size_t(n);
    }
    EXPECT_EQ(got, 22u);
    ::close(fd);

    ::kill(m_pid, SIGTERM);
    EXPECT_EQ(WaitExit(), 0);
    EXPECT_TRUE(fs::exists(m_dir / "out" / "receipt-0001.png"));

    std::ifstream in(log);
    std::vector<nlohmann::json> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(nlohmann::json::parse(line));
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0]["seq"], 1);
    EXPECT_EQ(lines[0]["link"], "tcp");
    EXPECT_EQ(lines[0]["hex"], "1B 4E 04 02");
    EXPECT_EQ(lines[0]["mnemonic"], "ESC N 4");
    EXPECT_EQ(lines[0]["meaning"], "set print density: level 2");
    EXPECT_EQ(lines[3]["seq"], 4);
    EXPECT_EQ(lines[3]["mnemonic"], "DLE EOT 13");
    EXPECT_TRUE(lines[3]["time"].is_string());

    std::ifstream state(m_dir / "state.json");
    EXPECT_EQ(nlohmann::json::parse(state)["density"], 2);
}

TEST_F(Program, StateFileLoadsAfterAKillInTheMiddleOfItsWrites)
{
    const std::string statePath = (m_dir / "state.json").string();
    // Each command below changes the stored settings, so the printer writes its state file
    // over and over; it is killed at a different moment every round.
    std::string stream;
    for (int i = 0; i < 40; ++i) {
        stream += std::string("\x1B\x4E\x04") + char(1 + i % 4);
        stream += std::string("\x1C\x72") + char(1 + i % 5) + std::string("\x20\x00\x20\x00", 4);
        stream += std::string(8 * 32 * 32, char(i));
    }
    for (int round = 0; round < 6; ++round) {
        SCOPED_TRACE(round);
        const std::string ready = Launch({"--listen", "127.0.0.1:0", "--state", statePath});
        const auto at = ready.find("ready on 127.0.0.1:");
        ASSERT_NE(at, std::string::npos) << ready;
        const int port = std::stoi(ready.substr(at + 19));
        int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_port = htons(uint16_t(port));
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ASSERT_EQ(::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
        std::thread writer([fd, &stream] {
            for (size_t sent = 0; sent < stream.size();) {
                const ssize_t n = ::send(fd, stream.data() + sent, stream.size() - sent, MSG_NOSIGNAL);
                if (n <= 0) return;   // the printer is gone
                sent += size_t(n);
            }
        });
        std::this_thread::sleep_for(std::chrono::milliseconds(20 + 37 * round));
        ::kill(m_pid, SIGKILL);
        ::waitpid(m_pid, nullptr, 0);
        m_pid = -1;
        writer.join();
        ::close(fd);
        ::close(m_err);
        m_err = -1;

        std::string error;
        const PrinterState state = StateStore(statePath).Load(&error);
        EXPECT_EQ(error, "") << "the state file always loads";
        if (round > 0) {
            EXPECT_TRUE(fs::exists(statePath));
        }
        EXPECT_GE(state.density, 1);
        EXPECT_LE(state.density, 4);
    }
}

TEST_F(Program, StartsInTheConditionsOfStatusAndAnswersThemOverTcp)
{
    const std::string ready = Launch({"--listen", "127.0.0.1:0", "--log", (m_dir / "log.jsonl").string(),
                                      "--status", "paper-out,drawer-open"});
    const auto at = ready.find("ready on 127.0.0.1:");
    ASSERT_NE(at, std::string::npos) << ready;
    int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(uint16_t(std::stoi(ready.substr(at + 19))));
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
    // Text first: dropped, while the queries behind it are answered in order.
    const uint8_t bytes[] = {0x41, 0x0A, 0x10, 0x04, 0x01, 0x10, 0x04, 0x02, 0x10, 0x04, 0x03, 0x10, 0x04, 0x04};
    ASSERT_EQ(::write(fd, bytes, sizeof bytes), ssize_t(sizeof bytes));
    std::vector<uint8_t> reply;
    for (pollfd p{fd, POLLIN, 0}; reply.size() < 4 && ::poll(&p, 1, kWaitMs) == 1;) {
        uint8_t buffer[8];
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n <= 0) break;
        reply.insert(reply.end(), buffer, buffer + n);
    }
    EXPECT_EQ(reply, (std::vector<uint8_t>{0x1E, 0x32, 0x12, 0x7E}));
    ::close(fd);
    ::kill(m_pid, SIGTERM);
    EXPECT_EQ(WaitExit(), 0);
    std::ifstream in(m_dir / "log.jsonl");
    std::string first;
    std::getline(in, first);
    EXPECT_EQ(nlohmann::json::parse(first)["meaning"], "print \"A\": dropped (paper out)");
}

TEST_F(Program, RefusesBadOptions)
{
    for (std::vector<std::string> args : {std::vector<std::string>{"--listen", "nowhere"},
                                         std::vector<std::string>{"--paper", "70"},
                                         std::vector<std::string>{"--reply-bytes", "-1"},
                                         std::vector<std::string>{"--status", "paper-out,jammed"},
                                         std::vector<std::string>{"--profile", "tm-t99"},
                                         std::vector<std::string>{"--http", "localhost:"}}) {
        SCOPED_TRACE(args[0] + " " + args[1]);
        Launch(args);
        EXPECT_NE(WaitExit(), 0);
        ::close(m_err);
        m_err = -1;
    }
}

TEST_F(Program, RefusesAMalformedScriptWithItsLineNumberBeforeStarting)
{
    const std::string script = (m_dir / "faults.txt").string();
    std::ofstream(script) << "receipt:1 paper-out\ntime:soon ready\n";
    const std::string said = Launch({"--listen", "127.0.0.1:0", "--script", script});
    EXPECT_EQ(WaitExit(), 2);
    EXPECT_NE(said.find("--script: " + script + ": line 2: time:S wants seconds from 0, got \"time:soon\"\n"),
              std::string::npos)
        << said;
    EXPECT_EQ(said.find("ready"), std::string::npos);
}

// Whatever ends it, the link to the pseudo-terminal goes with the program, so it never
// points at another program's terminal once the number is reused.
TEST_F(Program, ThePtyLinkGoesOnSigtermSighupAndSigint)
{
    for (int sig : {SIGTERM, SIGHUP, SIGINT}) {
        SCOPED_TRACE(sig);
        const fs::path link = m_dir / "ttyVP";
        const std::string ready = Launch({"--listen", "none", "--pty", link.string()});
        ASSERT_NE(ready.find("ready"), std::string::npos) << ready;
        EXPECT_TRUE(fs::is_symlink(link));
        ::kill(m_pid, sig);
        EXPECT_EQ(WaitExit(), 0);
        EXPECT_FALSE(fs::is_symlink(fs::symlink_status(link)));
        ::close(m_err);
        m_err = -1;
    }
}

#ifdef TALLYX_PROGRAM
TEST_F(Program, TheWindowsVirtualPrinterTakesItsPtyLinkAwayOnSigtermAndSighup)
{
    for (int sig : {SIGTERM, SIGHUP}) {
        SCOPED_TRACE(sig);
        std::vector<std::string> env = {"QT_QPA_PLATFORM=offscreen", "TMPDIR=" + m_dir.string()};
        for (char** e = environ; *e; ++e)
            if (!std::string_view(*e).starts_with("TMPDIR=") && !std::string_view(*e).starts_with("QT_QPA_PLATFORM="))
                env.emplace_back(*e);
        std::vector<char*> envp;
        for (auto& e : env) envp.push_back(e.data());
        envp.push_back(nullptr);
        std::string program = TALLYX_PROGRAM, option = "--virtual-printer";
        char* argv[] = {program.data(), option.data(), nullptr};
        ASSERT_EQ(posix_spawn(&m_pid, TALLYX_PROGRAM, nullptr, nullptr, argv, envp.data()), 0);
        const fs::path link = m_dir / ("tallyx-vprinter-" + std::to_string(m_pid));
        for (int waited = 0; waited < kWaitMs && !fs::is_symlink(fs::symlink_status(link)); waited += 10)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        ASSERT_TRUE(fs::is_symlink(fs::symlink_status(link)));
        ::kill(m_pid, sig);
        EXPECT_EQ(WaitExit(), 0);
        EXPECT_FALSE(fs::is_symlink(fs::symlink_status(link)));
    }
}
#endif

TEST_F(Program, RenderAndCompareWithoutAPort)
{
    {
        using namespace std::string_literals;
        std::ofstream(m_dir / "a.bin", std::ios::binary) << "A\n\x1D\x56\x00" "B\n"s;
        std::ofstream(m_dir / "b.bin", std::ios::binary) << "A\n\x1D\x56\x00" "C\n"s;
    }
    const std::string out = (m_dir / "out").string();
    Launch({"render", "--profile", "tm-t88", "--out", out, (m_dir / "a.bin").string(), (m_dir / "b.bin").string()});
    EXPECT_EQ(WaitExit(), 0);
    for (const char* name : {"a-1.png", "a-2.png", "b-1.png", "b-2.png"}) EXPECT_TRUE(fs::exists(m_dir / "out" / name)) << name;

    struct Row {
        const char* expected;
        const char* actual;
        int status;
    };
    const Row rows[] = {{"a-1.png", "b-1.png", 0}, {"a-2.png", "b-2.png", 1}, {"a-1.png", "none.png", 2}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.actual);
        ::close(m_err);
        Launch({"compare", out + "/" + row.expected, out + "/" + row.actual, "--diff", (m_dir / "diff.png").string()});
        EXPECT_EQ(WaitExit(), row.status);
    }
    ::close(m_err);
    Launch({"render", "--out", out, (m_dir / "none.bin").string()});
    EXPECT_EQ(WaitExit(), 2) << "a file that cannot be read";
}

} // namespace
} // namespace tallyx::vprinter::test
