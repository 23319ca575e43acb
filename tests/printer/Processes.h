#pragma once
// Programs the end-to-end tests start and stop: spawned with their output in a file, ended
// with SIGTERM (then SIGKILL) within a bound.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace tallyx::printer::test {

inline bool WaitFor(const std::function<bool()>& done, int ms)
{
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (!done()) {
        if (std::chrono::steady_clock::now() > until) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return true;
}

// A loopback port nobody listens on now.
inline uint16_t FreePort()
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a);
    socklen_t len = sizeof a;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len);
    ::close(fd);
    return ntohs(a.sin_port);
}

class Spawned {
public:
    Spawned() = default;
    Spawned(const Spawned&) = delete;
    Spawned& operator=(const Spawned&) = delete;
    ~Spawned() { Stop(); }

    bool Start(std::vector<std::string> args, const std::string& outputFile)
    {
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, outputFile.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
        posix_spawn_file_actions_adddup2(&actions, 1, 2);
        std::vector<char*> argv;
        for (auto& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        const bool ok = posix_spawn(&m_pid, argv[0], &actions, nullptr, argv.data(), environ) == 0;
        posix_spawn_file_actions_destroy(&actions);
        if (!ok) m_pid = -1;
        return ok;
    }

    void Stop()
    {
        if (m_pid <= 0) return;
        ::kill(m_pid, SIGTERM);
        const bool ended = WaitFor([this] { return ::waitpid(m_pid, nullptr, WNOHANG) == m_pid; }, 5000);
        if (!ended) {
            ::kill(m_pid, SIGKILL);
            ::waitpid(m_pid, nullptr, 0);
        }
        m_pid = -1;
    }

private:
    pid_t m_pid = -1;
};

// Runs a program to its end (at most 30 s); its exit status and what it printed.
inline int RunProgram(std::vector<std::string> args, std::string* output = nullptr)
{
    char name[] = "/tmp/tallyx-run-XXXXXX";
    const int fd = ::mkstemp(name);
    ::close(fd);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, name, O_WRONLY | O_TRUNC, 0644);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = -1;
    int status = -1;
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0) {
        if (!WaitFor([&] { return ::waitpid(pid, &status, WNOHANG) == pid; }, 30000)) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, &status, 0);
        }
    }
    posix_spawn_file_actions_destroy(&actions);
    std::ifstream in(name);
    std::stringstream text;
    text << in.rdbuf();
    if (output) *output = text.str();
    ::unlink(name);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace tallyx::printer::test
