// Median time of a status round trip (DLE EOT 1 out, its byte back) on one loopback
// connection, in microseconds. Usage: tallyx-bench-roundtrip PORT [COUNT]
#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

int main(int argc, char** argv)
{
    if (argc < 2) return 2;
    const int count = argc > 2 ? std::atoi(argv[2]) : 500;
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(uint16_t(std::atoi(argv[1])));
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) return 1;
    int on = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    const unsigned char ask[] = {0x10, 0x04, 0x01};
    std::vector<double> us;
    for (int i = 0; i < count; ++i) {
        const auto start = std::chrono::steady_clock::now();
        if (::send(fd, ask, sizeof ask, 0) != ssize_t(sizeof ask)) return 1;
        pollfd p{fd, POLLIN, 0};
        unsigned char reply = 0;
        if (::poll(&p, 1, 2000) != 1 || ::recv(fd, &reply, 1, 0) != 1) return 1;
        us.push_back(std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count());
    }
    std::nth_element(us.begin(), us.begin() + us.size() / 2, us.end());
    std::printf("%.0f\n", us[us.size() / 2]);
    return 0;
}
