#pragma once
// The printer's network port. Connections are served one at a time, like a real printer,
// in the order they arrived; the others are accepted at once and wait in a queue of our own,
// so a burst never overflows the kernel's listen queue. A connection's end ends whatever
// command it left unfinished. Replies go back on the connection that asked. A connection
// that asked for the automatic status back (GS a) is kept open when it falls silent and
// others wait: it is sent the changes it asked for, and is served again when it speaks.
#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <vector>
#include <poll.h>

#include "vprinter/ports/ReplySink.h"
#include "vprinter/ports/ServiceThread.h"
#include "vprinter/ports/Throttle.h"

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
    // The connection being served asked for the status back on these GS a items (0: none).
    // From the sink only.
    void SetStatusBack(uint8_t items);
    // The status back after `changed` items changed, to every connection that asked for one
    // of them. Any thread.
    void PushStatus(const Bytes& bytes, uint8_t changed);
    // Closes the connection being served, as if the printer dropped it. Any thread.
    void CloseCurrent();
    // Takes bytes at most this fast from now on (0: as fast as they come). Any thread.
    void SetRate(int64_t bytesPerSecond) { m_throttle.SetRate(bytesPerSecond); }

private:
    void Run();
    void AcceptWaiting();
    bool DelayAccept();                // false when stopping
    void ReadCurrent();
    void EndCurrent(bool reset);
    void KeepForStatusBack();
    void WatchKept(const std::vector<pollfd>& fds, size_t first);
    int PollTimeoutMs() const;

    TcpOptions m_options;
    ByteSink m_sink;
    EndSink m_end;
    int m_listenFd = -1;
    uint16_t m_port = 0;
    ServiceThread m_service;

    struct Connection {
        int fd = -1;
        uint8_t statusBack = 0;   // GS a items it asked for
    };

    // Used by the server's thread only.
    std::deque<Connection> m_waiting;
    int m_current = -1;
    std::string m_currentPeer;
    int64_t m_received = 0;
    bool m_replyStalled = false;   // a reply could not be sent: the peer does not read
    std::chrono::steady_clock::time_point m_lastInput;

    Throttle m_throttle;

    std::mutex m_pushMutex;   // held while m_pushFd or a kept one is written to or closed
    int m_pushFd = -1;
    uint8_t m_pushStatusBack = 0;     // what the one being served asked for
    std::vector<Connection> m_kept;   // silent, waiting for their status back; the server's thread changes it
};

} // namespace tallyx::vprinter
