#include "vprinter/ports/PtyPort.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace tallyx::vprinter {

namespace {

constexpr size_t kReadChunk = 4096;
// A tool that does not read its replies cannot hold the printer longer than this (as on TCP).
constexpr int kWriteTimeoutMs = 1000;

std::string ErrnoText(const std::string& what)
{
    return what + ": " + std::strerror(errno);
}

} // namespace

PtyPort::PtyPort(std::string linkPath, ByteSink sink) : m_linkPath(std::move(linkPath)), m_sink(std::move(sink)) {}

PtyPort::~PtyPort()
{
    Stop();
}

bool PtyPort::Start(std::string* error)
{
    auto fail = [&](const std::string& why) {
        if (error) *error = why;
        Stop();
        return false;
    };
    m_master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (m_master < 0) return fail(ErrnoText("posix_openpt"));
    // Replies wait a bounded time for room (Write), never for ever.
    if (::fcntl(m_master, F_SETFL, ::fcntl(m_master, F_GETFL) | O_NONBLOCK) != 0) return fail(ErrnoText("fcntl"));
    char name[PATH_MAX];
    if (::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0 || ::ptsname_r(m_master, name, sizeof name) != 0)
        return fail(ErrnoText("pseudo-terminal"));
    m_slaveName = name;
    m_slave = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (m_slave < 0) return fail(ErrnoText("open " + m_slaveName));
    termios tio{};
    if (::tcgetattr(m_slave, &tio) != 0) return fail(ErrnoText("tcgetattr"));
    ::cfmakeraw(&tio);
    tio.c_cflag |= CLOCAL | CREAD;
    if (::tcsetattr(m_slave, TCSANOW, &tio) != 0) return fail(ErrnoText("tcsetattr"));

    struct stat st{};
    if (::lstat(m_linkPath.c_str(), &st) == 0) {
        if (!S_ISLNK(st.st_mode)) return fail(m_linkPath + " exists and is not a symbolic link");
        ::unlink(m_linkPath.c_str());
    }
    if (::symlink(m_slaveName.c_str(), m_linkPath.c_str()) != 0) return fail(ErrnoText("symlink " + m_linkPath));
    m_linked = true;
    if (!m_service.Open()) return fail(ErrnoText("pipe"));
    m_service.Start([this] { Run(); });
    return true;
}

void PtyPort::Stop()
{
    m_service.Stop();
    if (m_linked) {
        // Only our own link goes; someone may have replaced it meanwhile.
        char target[PATH_MAX];
        ssize_t n = ::readlink(m_linkPath.c_str(), target, sizeof target - 1);
        if (n >= 0 && std::string(target, size_t(n)) == m_slaveName) ::unlink(m_linkPath.c_str());
        m_linked = false;
    }
    for (int* fd : {&m_master, &m_slave}) {
        if (*fd >= 0) ::close(*fd);
        *fd = -1;
    }
}

void PtyPort::Push(const Bytes& bytes)
{
    if (m_master >= 0) Write(bytes);
}

// Once the tool's side is full, replies are dropped until it has room again, so a sender that
// never reads slows nothing down and a stop is never kept waiting.
void PtyPort::Write(const Bytes& bytes)
{
    const uint8_t* data = bytes.data();
    size_t n = bytes.size();
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(kWriteTimeoutMs);
    while (n > 0) {
        const ssize_t done = ::write(m_master, data, n);
        if (done > 0) {
            data += done;
            n -= size_t(done);
            continue;
        }
        if (done < 0 && errno == EINTR) continue;
        if (done < 0 && errno != EAGAIN) return;
        using std::chrono::milliseconds;
        const auto left = std::chrono::duration_cast<milliseconds>(until - std::chrono::steady_clock::now());
        pollfd fds[2] = {{m_master, POLLOUT, 0}, {m_service.WakeFd(), POLLIN, 0}};
        const int waitMs = m_stalled ? 0 : int(std::max<int64_t>(0, left.count()));
        if (::poll(fds, 2, waitMs) <= 0 || (fds[1].revents & POLLIN) || !(fds[0].revents & POLLOUT)) {
            m_stalled = true;
            return;
        }
    }
    m_stalled = false;
}

void PtyPort::Run()
{
    const ReplyFn reply = [this](const Bytes& bytes) { Write(bytes); };
    uint8_t buffer[kReadChunk];
    while (!m_service.Stopping()) {
        pollfd fds[2] = {{m_service.WakeFd(), POLLIN, 0}, {m_master, POLLIN, 0}};
        if (::poll(fds, 2, -1) < 0) {
            if (errno == EINTR) continue;
            return;
        }
        if (fds[0].revents & POLLIN) return;
        if (!(fds[1].revents & (POLLIN | POLLHUP | POLLERR))) continue;
        ssize_t n = ::read(m_master, buffer, m_throttle.Chunk(sizeof buffer));
        if (n < 0 && (errno == EINTR || errno == EAGAIN)) continue;
        if (n <= 0) {
            // Cannot happen while our slave handle is open; back off rather than spin.
            ::poll(fds, 1, 50);
            continue;
        }
        m_sink(buffer, size_t(n), reply);
        m_throttle.Took(size_t(n), m_service.WakeFd());
    }
}

} // namespace tallyx::vprinter
