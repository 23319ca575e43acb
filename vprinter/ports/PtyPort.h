#pragma once
// The printer's serial port: a pseudo-terminal whose slave side the tool opens through a
// symbolic link. The printer holds the slave open itself, so the tool's close-and-reopen
// after every command never hangs the line up.
#include <string>

#include "vprinter/ports/TcpServer.h"

namespace tallyx::vprinter {

class PtyPort {
public:
    PtyPort(std::string linkPath, ByteSink sink);
    ~PtyPort();
    PtyPort(const PtyPort&) = delete;
    PtyPort& operator=(const PtyPort&) = delete;

    // Opens the pair in raw mode and makes the link. An existing symbolic link is replaced;
    // any other file of that name is left alone and refused.
    bool Start(std::string* error);
    void Stop();
    const std::string& LinkPath() const { return m_linkPath; }
    const std::string& SlaveName() const { return m_slaveName; }
    // Bytes nobody asked for, to the tool's side. Not during Start or Stop.
    void Push(const Bytes& bytes);
    // Takes bytes at most this fast from now on (0: as fast as they come). Any thread.
    void SetRate(int64_t bytesPerSecond) { m_throttle.SetRate(bytesPerSecond); }

private:
    void Run();
    // Called with the printer's lock held, from the port's thread (replies) or any (Push).
    void Write(const Bytes& bytes);

    std::string m_linkPath;
    ByteSink m_sink;
    std::string m_slaveName;
    int m_master = -1;
    int m_slave = -1;
    bool m_linked = false;
    bool m_stalled = false;   // the tool's side was full: replies dropped until it has room
    ServiceThread m_service;
    Throttle m_throttle;
};

} // namespace tallyx::vprinter
