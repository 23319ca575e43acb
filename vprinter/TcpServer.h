#pragma once
// The printer's network port: one connection at a time, like a real printer; the others
// wait in the listen queue. Replies go back on the connection that asked.
#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <thread>

#include "vprinter/Interpreter.h"

namespace tallyx::vprinter {

struct TcpOptions {
    std::string host = "127.0.0.1";
    uint16_t port = 9100;        // 0: any free port (see TcpServer::Port)
    // Faults for tests of the tool's link:
    int acceptDelayMs = 0;       // a waiting connection is accepted only after this
    int replyBytes = -1;         // send only the first N bytes of each reply (-1: all)
    int64_t resetAfter = -1;     // reset the connection after N received bytes (-1: never)
};

using ByteSink = std::function<void(const uint8_t* data, size_t n, const ReplyFn& reply)>;

class TcpServer {
public:
    TcpServer(TcpOptions options, ByteSink sink);
    ~TcpServer();
    TcpServer(const TcpServer&) = delete;
    TcpServer& operator=(const TcpServer&) = delete;

    // Binds and listens, then serves on a thread of its own. False with `error` set on failure.
    bool Start(std::string* error);
    void Stop();
    uint16_t Port() const { return m_port; }

private:
    void Run();
    void Serve(int fd);
    bool WaitStoppable(int fd, int timeoutMs);   // false when stopping

    TcpOptions m_options;
    ByteSink m_sink;
    int m_listenFd = -1;
    int m_wake[2] = {-1, -1};
    uint16_t m_port = 0;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

} // namespace tallyx::vprinter
