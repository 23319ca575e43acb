#pragma once
// A printer stand-in on 127.0.0.1: accepts connections one at a time on an ephemeral
// port, records what each connection sent, and can answer or delay like a printer.
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace tallyx::test {

class LoopbackServer {
public:
    struct Options {
        int acceptDelayMs = 0;     // listen at once, but accept only after this
        std::string reply;         // sent once the first 3 bytes have arrived
    };
    LoopbackServer();
    explicit LoopbackServer(Options options);
    ~LoopbackServer();

    uint16_t Port() const { return m_port; }
    // Waits (bounded) until `count` connections have closed; returns the bytes of each.
    std::vector<std::string> WaitForConnections(size_t count, int timeoutMs = 5000);
    size_t ConnectionCount();

private:
    void Run();

    Options m_options;
    int m_listenFd = -1;
    int m_wakeFd[2] = {-1, -1};
    uint16_t m_port = 0;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<std::string> m_connections;
    std::thread m_thread;
};

// A port on 127.0.0.1 that refuses connections (bound, never listened on).
class RefusingPort {
public:
    RefusingPort();
    ~RefusingPort();
    uint16_t Port() const { return m_port; }

private:
    int m_fd = -1;
    uint16_t m_port = 0;
};

} // namespace tallyx::test
