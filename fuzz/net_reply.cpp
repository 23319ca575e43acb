// The network parameter reply, read by the link's Ethernet connect and decoded: the fuzz bytes are
// what the printer answers to 10 04 13; the first byte says when the connection comes up.
#include <fuzzer/FuzzedDataProvider.h>

#include "fuzz/FuzzCheck.h"
#include "jobs/PrinterQueries.h"
#include "tests/support/RecordingPlatform.h"

using namespace tallyx;
using tallyx::test::FakeHost;
using tallyx::test::RecordingPlatform;

namespace {
uint32_t Address(const Bytes& r, size_t at)
{
    return uint32_t(r[at]) << 24 | uint32_t(r[at + 1]) << 16 | uint32_t(r[at + 2]) << 8 | r[at + 3];
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider in(data, size);
    RecordingPlatform platform;
    // 0 .. 1500 ms: before, at and after the fifteen 80 ms query tries give up.
    platform.connectAfterMs = in.ConsumeIntegralInRange(0, 1500);
    platform.reply = in.ConsumeRemainingBytes<uint8_t>();
    FakeHost host;
    host.port = "Ethernet";
    tallyx::test::HostedLink link(host, platform);

    const ConnectOutcome outcome = link.Connect(NetworkParamQuery());
    const NetParams net = DecodeNetReply(outcome.netReply);
    if (!outcome.connected) {
        FUZZ_CHECK(host.messages.size() == 1);
        FUZZ_CHECK(host.messages[0] == "打印机设置工具|与打印机连接不成功!|0");
        FUZZ_CHECK(!net.valid);
        return 0;
    }
    FUZZ_CHECK(host.messages.empty());
    FUZZ_CHECK(link.IsConnected() && link.Kind() == LinkKind::Network);
    // The query went out once, on one connection.
    FUZZ_CHECK(platform.sockets.size() == 1);
    FUZZ_CHECK(platform.sockets[0] == (Bytes{0x10, 0x04, 0x13}));
    const Bytes& r = platform.reply;
    if (r.size() < 17) {
        // Too short to hold all four addresses and the DHCP byte: nothing of it is taken.
        FUZZ_CHECK(!net.valid);
        FUZZ_CHECK(net.ip == 0 && net.mask == 0 && net.gateway == 0);
        FUZZ_CHECK(net.dns == 0 && net.dhcpIndex == 0);
        return 0;
    }
    FUZZ_CHECK(net.valid);
    FUZZ_CHECK(net.ip == Address(r, 0));
    FUZZ_CHECK(net.mask == Address(r, 4));
    FUZZ_CHECK(net.gateway == Address(r, 8));
    FUZZ_CHECK(net.dns == Address(r, 12));
    FUZZ_CHECK(net.dhcpIndex == int(r[16]) - 1);
    return 0;
}
