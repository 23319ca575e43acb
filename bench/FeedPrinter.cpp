// Feeds a printer listening on TCP with receipts and reports how many it took a second:
//   tallyx-bench-feed connections HOST PORT COUNT   one connection per receipt, one after another
//   tallyx-bench-feed stream HOST PORT COUNT        every receipt on one connection
//   tallyx-bench-feed cycles HOST PORT FIRST LAST   numbered cut cycles on one connection
// Each ends by asking the printer's status and waiting for the answer: the printer serves in
// order, so the answer means every receipt before it has been taken. Prints "<count> <seconds>".
#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <string>
#include <sys/socket.h>
#include <unistd.h>

#include "commands/CutCycle.h"

using namespace std::chrono;
using namespace std::string_literals;

namespace {

constexpr auto kSendFor = seconds(20);   // a slow printer is measured on what it took by then
constexpr int kAnswerWaitMs = 60000;

// A short shop receipt: heading, eight items, a Chinese thank-you line (GBK), a cut with feed.
std::string Receipt(int number)
{
    // The NULs are bytes of GS ! 0 and ESC a 0: string literals with their lengths.
    std::string r = "\x1B\x40\x1B\x61\x01\x1D\x21\x11TALLYX SHOP\n\x1D\x21\x00"s;
    r += "No. " + std::to_string(100000 + number) + "\n\x1B\x61\x00"s;
    for (int i = 1; i <= 8; ++i) r += "Item " + std::to_string(i) + "          x1        12.50\n";
    r += "--------------------------------\nTOTAL                    100.00\n";
    r += "\xD0\xBB\xD0\xBB\xBB\xDD\xB9\xCB\n";   // 谢谢惠顾
    r += std::string("\x1D\x56\x42\x00", 4);
    return r;
}

const std::string kStatusQuery("\x10\x04\x01", 3);   // DLE EOT 1

[[noreturn]] void Fail(const char* what)
{
    std::fprintf(stderr, "tallyx-bench-feed: %s: %s\n", what, std::strerror(errno));
    std::exit(1);
}

int Connect(const char* host, uint16_t port)
{
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(port);
    if (::inet_pton(AF_INET, host, &addr.sin_addr) != 1) Fail("address");
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) Fail("socket");
    int on = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    if (::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) Fail("connect");
    return fd;
}

void SendAll(int fd, const std::string& bytes)
{
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::send(fd, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) Fail("send");
        done += size_t(n);
    }
}

void AwaitStatus(int fd)
{
    SendAll(fd, kStatusQuery);
    pollfd p{fd, POLLIN, 0};
    if (::poll(&p, 1, kAnswerWaitMs) != 1) Fail("no status answer");
    char answer;
    if (::recv(fd, &answer, 1, 0) != 1) Fail("status answer");
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 5) {
        std::fprintf(stderr, "usage: tallyx-bench-feed connections|stream|cycles HOST PORT COUNT|FIRST LAST\n");
        return 64;
    }
    const std::string mode = argv[1];
    const char* host = argv[2];
    const auto port = uint16_t(std::atoi(argv[3]));
    const long count = std::atol(argv[4]);

    const auto start = steady_clock::now();
    long sent = 0;
    if (mode == "connections") {
        for (; sent < count && steady_clock::now() - start < kSendFor; ++sent) {
            const int fd = Connect(host, port);
            SendAll(fd, Receipt(int(sent)));
            ::close(fd);
        }
        const int fd = Connect(host, port);
        AwaitStatus(fd);
        ::close(fd);
    } else if (mode == "stream") {
        const int fd = Connect(host, port);
        for (; sent < count; ++sent) SendAll(fd, Receipt(int(sent)));
        AwaitStatus(fd);
        ::close(fd);
    } else if (mode == "cycles" && argc == 6) {
        const long last = std::atol(argv[5]);
        const int fd = Connect(host, port);
        std::string batch;
        for (long cycle = count; cycle <= last; ++cycle, ++sent) {
            const tallyx::Bytes bytes = tallyx::BuildCutCycle(uint32_t(cycle));
            batch.append(bytes.begin(), bytes.end());
            if (batch.size() >= 4096) SendAll(fd, batch), batch.clear();
        }
        SendAll(fd, batch);
        AwaitStatus(fd);
        ::close(fd);
    } else {
        std::fprintf(stderr, "tallyx-bench-feed: unknown mode %s\n", mode.c_str());
        return 64;
    }
    const double seconds = duration<double>(steady_clock::now() - start).count();
    std::printf("%ld %.6f\n", sent, seconds);
    return 0;
}
