#include "tests/support/PtyPrinter.h"

#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace tallyx::test {

namespace {

// One read after at most waitMs; false when nothing came.
bool ReadSome(int fd, int waitMs, std::string& into)
{
    pollfd p{fd, POLLIN, 0};
    if (::poll(&p, 1, waitMs) <= 0) return false;
    char buf[4096];
    const ssize_t n = ::read(fd, buf, sizeof buf);
    if (n <= 0) return false;
    into.append(buf, size_t(n));
    return true;
}

} // namespace

PtyPrinter::PtyPrinter()
{
    m_master = ::posix_openpt(O_RDWR | O_NOCTTY);
    ::grantpt(m_master);
    ::unlockpt(m_master);
    m_path = ::ptsname(m_master);
    m_slave = ::open(m_path.c_str(), O_RDWR | O_NOCTTY);
    termios tio{};
    ::tcgetattr(m_slave, &tio);
    ::cfmakeraw(&tio);
    ::tcsetattr(m_slave, TCSANOW, &tio);
}

PtyPrinter::~PtyPrinter()
{
    ::close(m_slave);
    ::close(m_master);
}

std::string PtyPrinter::Read(size_t count)
{
    std::string got;
    while (got.size() < count && ReadSome(m_master, 2000, got)) {}
    return got;
}

void PtyPrinter::Write(const std::string& bytes)
{
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(m_master, bytes.data() + done, bytes.size() - done);
        if (n <= 0) return;
        done += size_t(n);
    }
}

std::string PtyPrinter::ReadAll()
{
    std::string got;
    for (int rounds = 0; rounds < 50 && ReadSome(m_master, 300, got); ++rounds) {}
    return got;
}

} // namespace tallyx::test
