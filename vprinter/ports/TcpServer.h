#pragma once
// The printer's network port. Connections are served one at a time, like a real printer,
// in the order they arrived; the others are accepted at once and wait in a queue of our own,
// so a burst never overflows the kernel's listen queue. A connection's end ends whatever
// command it left unfinished. Replies go back on the connection that asked.
#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <string>

#include "vprinter/ports/ReplySink.h"
#include "vprinter/ports/ServiceThread.h"

namespace tallyx::vprinter {

struct TcpOptions {
    std::string host = "127.0.0.1";
    uint16_t port = 9100;        // 0: any free port (see TcpServer::Port)
    // A served connection silent this long is closed when others are waiting.
    int idleWhileOthersWaitMs = 2000;
    // Faults for tests of the tool's link:
    int acceptDelayMs = 0;       // a waiting connection is accepted only after this
    int replyBytes = -1;         // send only the first N bytes of each reply (-1: all)
    int64_t resetAfter = -1;     // reset the connection after N received bytes (-1: never)
};

using ByteSink = std::function<void(const uint8_t* data, size_t n, const ReplyFn& reply)>;
using EndSink = std::function<void()>;   // the connection being served has ended

class TcpServer {
public:
    TcpServer(TcpOptions options, ByteSink sink, EndSink end = {});
    ~TcpServer();
    TcpServer(const TcpServer&) = delete;
    TcpServer& operator=(const TcpServer&) = delete;

    // Binds and listens, then serves on a thread of its own. False with `error` set on failure.
    bool Start(std::string* error);
    void Stop();
    uint16_t Port() const { return m_port; }
    // Bytes nobody asked for, to the connection being served (none: dropped). Any thread.
    void Push(const Bytes& bytes);
    // "127.0.0.1:40312": the connection being served. On the server's thread (in the sink).
    const std::string& CurrentPeer() const { return m_currentPeer; }

private:
    void Run();
    void AcceptWaiting();
    bool DelayAccept();                // false when stopping
    void ReadCurrent();
    void EndCurrent(bool reset);
    int PollTimeoutMs() const;

    TcpOptions m_options;
    ByteSink m_sink;
    EndSink m_end;
    int m_listenFd = -1;
    uint16_t m_port = 0;
    ServiceThread m_service;

    // Used by the server's thread only.
    std::deque<int> m_waiting;
    int m_current = -1;
    std::string m_currentPeer;
    int64_t m_received = 0;
    bool m_replyStalled = false;   // a reply could not be sent: the peer does not read
    std::chrono::steady_clock::time_point m_lastInput;

    std::mutex m_pushMutex;   // held while m_pushFd is written to or closed
    int m_pushFd = -1;
};

} // namespace tallyx::vprinter
