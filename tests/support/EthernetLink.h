#pragma once
// The tool's link set to "Ethernet" on the real POSIX platform, aimed at a TCP port on
// 127.0.0.1 (a printer stand-in, or a port nobody listens on).
#include <cstdint>

#include "link/PosixPlatform.h"
#include "tests/support/RecordingPlatform.h"

namespace tallyx::test {

// P: the platform, the real one unless a test slows or breaks it.
template <class P = PosixPlatform>
struct EthernetLink {
    explicit EthernetLink(uint16_t port)
    {
        host.port = "Ethernet";
        link.SetTcpPort(port);
    }
    FakeHost host;
    P platform;
    HostedLink link{host, platform};
};

} // namespace tallyx::test
