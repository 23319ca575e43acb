#pragma once
// The thread that serves one of the printer's ports until told to stop. Its loop polls
// WakeFd() beside its own descriptors, so a stop ends even a poll that has no timeout.
#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <functional>
#include <thread>
#include <utility>

namespace tallyx::vprinter {

class ServiceThread {
public:
    ServiceThread() = default;
    ~ServiceThread() { Stop(); }
    ServiceThread(const ServiceThread&) = delete;
    ServiceThread& operator=(const ServiceThread&) = delete;

    // The wake pipe; false, with errno set, when it cannot be made.
    bool Open() { return ::pipe2(m_wake, O_CLOEXEC) == 0; }
    void Start(std::function<void()> loop)
    {
        m_stop = false;
        m_thread = std::thread(std::move(loop));
    }
    // Asks the loop to end, waits for it, and closes the pipe.
    void Stop()
    {
        m_stop = true;
        if (m_wake[1] >= 0) (void)!::write(m_wake[1], "x", 1);
        if (m_thread.joinable()) m_thread.join();
        for (int& fd : m_wake) {
            if (fd >= 0) ::close(fd);
            fd = -1;
        }
    }
    bool Stopping() const { return m_stop; }
    int WakeFd() const { return m_wake[0]; }

private:
    int m_wake[2] = {-1, -1};
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

} // namespace tallyx::vprinter
