#include "link/SerialPort.h"

#include <cerrno>
#include <algorithm>
#include <cctype>
#include <chrono>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <termios.h>
#include <unistd.h>
#include <utility>

namespace tallyx {

namespace {

int64_t NowMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

// What termios can set, not the window's list: the link takes any rate a Target names.
constexpr std::pair<uint32_t, speed_t> kTermiosSpeeds[] = {
    {1200, B1200},   {2400, B2400},   {4800, B4800},     {9600, B9600},     {19200, B19200},
    {38400, B38400}, {57600, B57600}, {115200, B115200}, {230400, B230400},
};

speed_t SpeedFor(uint32_t baud)
{
    for (const auto& [rate, speed] : kTermiosSpeeds)
        if (rate == baud) return speed;
    return B9600;
}

// Unix98 pseudo-terminal slaves (majors 136 to 143).
bool IsPtySlave(int fd)
{
    struct stat st {};
    if (fstat(fd, &st) != 0 || !S_ISCHR(st.st_mode)) return false;
    const unsigned maj = major(st.st_rdev);
    return maj >= 136 && maj <= 143;
}

} // namespace

std::string SerialDevicePath(const std::string& portText)
{
    if (portText.size() > 3 && portText.compare(0, 3, "COM") == 0) {
        bool digits = true;
        for (size_t i = 3; i < portText.size(); ++i)
            digits = digits && std::isdigit(static_cast<unsigned char>(portText[i]));
        if (digits && portText.size() <= 6) {
            const int n = std::stoi(portText.substr(3));
            if (n >= 1) return "/dev/ttyS" + std::to_string(n - 1);
        }
    }
    return portText;
}

OpenResult OpenSerialDevice(const std::string& portText)
{
    const std::string path = SerialDevicePath(portText);
    // A regular file, FIFO or directory named as a port is never opened, so never changed.
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0 && !S_ISCHR(st.st_mode)) return {-1, ENOTTY};
    // Non-blocking so a port without carrier does not hold the open, and so a write
    // to a stalled port ends at its bound.
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return {-1, errno};
    termios tio {};
    if (::fstat(fd, &st) != 0 || !S_ISCHR(st.st_mode) || ::tcgetattr(fd, &tio) != 0) {
        ::close(fd);
        return {-1, ENOTTY};
    }
    // No sharing: a port another program holds counts as busy.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int err = errno;
        ::close(fd);
        return {-1, err};
    }
    return {fd, 0};
}

void ConfigureSerialDevice(int fd, uint32_t baudRate)
{
    termios tio {};
    if (::tcgetattr(fd, &tio) != 0) return;
    ::cfmakeraw(&tio);
    tio.c_cflag &= ~(CSIZE | PARENB | CSTOPB | CRTSCTS);
    tio.c_cflag |= CS8 | CLOCAL | CREAD;
    tio.c_iflag &= ~(IXON | IXOFF | IXANY);
    ::cfsetispeed(&tio, SpeedFor(baudRate));
    ::cfsetospeed(&tio, SpeedFor(baudRate));
    ::tcsetattr(fd, TCSANOW, &tio);
    // Ptys have no modem lines; the failure there is expected.
    int lines = TIOCM_DTR | TIOCM_RTS;
    ::ioctl(fd, TIOCMBIC, &lines);
}

void PurgeDevice(int fd)
{
    // On a pty, flushing our output would throw away what the peer has not read yet;
    // every close drains first, so a real port has nothing of ours queued either.
    ::tcflush(fd, IsPtySlave(fd) ? TCIFLUSH : TCIOFLUSH);
}

size_t WriteAll(int fd, const uint8_t* data, size_t n, int64_t timeoutMs)
{
    const int64_t deadline = NowMs() + timeoutMs;
    size_t done = 0;
    while (done < n) {
        const ssize_t w = ::write(fd, data + done, n - done);
        if (w > 0) {
            done += size_t(w);
            continue;
        }
        if (w < 0 && errno == EINTR) continue;
        if (w < 0 && errno != EAGAIN && errno != EWOULDBLOCK) break;
        const int64_t left = deadline - NowMs();
        if (left <= 0) break;
        pollfd p{fd, POLLOUT, 0};
        ::poll(&p, 1, int(std::min<int64_t>(left, 1000)));
    }
    return done;
}

void DrainAndClose(int fd, WriteBound bound)
{
    if (::isatty(fd)) {
        int queued = 0;
        if (::ioctl(fd, TIOCOUTQ, &queued) != 0) queued = 0;
        const int64_t deadline = NowMs() + bound.For(size_t(std::max(queued, 0)));
        // Waits while the port still sends; what a stalled port holds after the bound is dropped.
        while (::ioctl(fd, TIOCOUTQ, &queued) == 0 && queued > 0 && NowMs() < deadline) ::poll(nullptr, 0, 10);
        if (queued > 0) ::tcflush(fd, TCOFLUSH);
        while (::tcdrain(fd) != 0 && errno == EINTR) {}
    }
    ::close(fd);
}

} // namespace tallyx
