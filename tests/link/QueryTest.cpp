// The query rule: questions written on the open port (or one connection), answers read
// within a bound, a silent printer given up on in time, a stop that ends the wait at once.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <thread>

#include "jobs/PrinterQueries.h"
#include "link/PosixPlatform.h"
#include "tests/support/EthernetLink.h"
#include "tests/support/FakeUsbTree.h"
#include "tests/support/LoopbackServer.h"
#include "tests/support/PtyPrinter.h"
#include "tests/support/RecordingPlatform.h"

using namespace tallyx;
using namespace tallyx::test;
using namespace std::string_literals;

namespace {

using Clock = std::chrono::steady_clock;

// A printer that answers every status question with `status` and GS I with "_ID\0",
// unless told to stay silent on one kind.
Bytes Answer(const Bytes& request, uint8_t status, bool knowsIdentity = true)
{
    if (request.size() == 3 && request[0] == 0x10 && request[1] == 0x04) return {status};
    if (request.size() == 3 && request[0] == 0x1D && request[1] == 0x49 && knowsIdentity)
        return {'_', 'I', 'D', uint8_t(request[2]), 0};
    return {};
}

struct Recorded {
    Recorded()
    {
        host.port = "COM1";
        link.m_replyBoundMs = 1000;
        link.Connect();
        platform.calls.clear();
    }
    RecordingPlatform platform;
    FakeHost host;
    HostedLink link{host, platform};
};

} // namespace

TEST(QueryRule, AskedAndReadOnTheOpenPortWithoutAReopen)
{
    Recorded f;
    f.platform.respond = [](const Bytes& r) { return Answer(r, 0x12); };
    const StatusReport report = ReadPrinterStatus(f.link);
    ASSERT_TRUE(report.ok());
    EXPECT_TRUE(CanPrint(report.status));
    EXPECT_EQ(report.firmware, "IDA");
    EXPECT_EQ(report.serial, "IDD");
    EXPECT_EQ(f.platform.Writes(), (Strings{"10 04 01", "10 04 02", "10 04 03", "10 04 04", "1D 49 41", "1D 49 42",
                                           "1D 49 43", "1D 49 44"}));
    for (const std::string& call : f.platform.calls) EXPECT_NE(call.rfind("open", 0), 0u) << "no reopen: " << call;
    EXPECT_TRUE(f.host.faults.empty()) << "a query reports nothing itself";
}

TEST(QueryRule, ASilentPrinterIsGivenUpOnAfterOneBound)
{
    Recorded f;
    f.platform.respond = [](const Bytes&) { return Bytes{}; };
    const StatusReport report = ReadPrinterStatus(f.link);
    EXPECT_EQ(report.outcome.fault, LinkFault::NoReply);
    EXPECT_EQ(f.platform.now, 1000) << "one bound, the other questions not asked";
    EXPECT_EQ(f.platform.Writes(), Strings{"10 04 01"});
}

TEST(QueryRule, IdentityUnknownIsNullAfterOneBound)
{
    Recorded f;
    f.platform.respond = [](const Bytes& r) { return Answer(r, 0x12, false); };
    const StatusReport report = ReadPrinterStatus(f.link);
    ASSERT_TRUE(report.ok());
    EXPECT_EQ(report.firmware, std::nullopt);
    EXPECT_EQ(report.serial, std::nullopt);
    EXPECT_EQ(f.platform.now, 1000);
    EXPECT_EQ(f.platform.Writes().size(), 5u) << "GS I 66-68 not asked once 65 went unanswered";
}

TEST(QueryRule, PartialAndGarbageRepliesAreRefused)
{
    {
        Recorded f;   // an identity reply that never ends: the status stands, the text is null
        f.platform.respond = [](const Bytes& r) { return r[0] == 0x1D ? Bytes{'_', 'T', 'M'} : Bytes{0x12}; };
        const StatusReport report = ReadPrinterStatus(f.link);
        ASSERT_TRUE(report.ok());
        EXPECT_EQ(report.model, std::nullopt);
    }
    {
        Recorded f;   // a byte that is no status byte
        f.platform.respond = [](const Bytes&) { return Bytes{0xFF}; };
        EXPECT_EQ(ReadPrinterStatus(f.link).outcome.fault, LinkFault::BadReply);
    }
    {
        Recorded f;   // a network connect's reply is no identity text
        f.platform.respond = [](const Bytes& r) { return r[0] == 0x1D ? Bytes{'X', 0} : Bytes{0x12}; };
        EXPECT_EQ(ReadPrinterStatus(f.link).maker, std::nullopt);
    }
}

TEST(QueryRule, NoOpenPortWritesNothing)
{
    Recorded f;
    f.link.Disconnect();
    f.platform.calls.clear();
    EXPECT_EQ(ReadPrinterStatus(f.link).outcome.fault, LinkFault::NotWritten);
    EXPECT_TRUE(f.platform.Writes().empty());
}

// The real devices: a pty that answers, a pty that does not (stopped in time), a TCP
// printer that does not answer, and the USB node found through sysfs.
TEST(QueryDevices, PtyAnswersAndSilenceEndsAtTheBoundOrAtAStop)
{
    PtyPrinter printer;
    FakeHost host;
    host.port = printer.Path();
    PosixPlatform platform;
    HostedLink link(host, platform);
    link.m_replyBoundMs = 200;
    ASSERT_TRUE(link.Connect().connected);

    std::atomic<bool> answering{true};
    std::jthread responder([&](std::stop_token done) {
        while (!done.stop_requested()) {
            const std::string q = printer.Read(3);
            if (q.size() == 3 && answering) printer.Write(q[0] == 0x10 ? "\x16"s : "_VP\0"s);
        }
    });
    const StatusReport ready = ReadPrinterStatus(link);
    ASSERT_TRUE(ready.ok()) << int(ready.outcome.fault);
    EXPECT_TRUE(ready.status.drawerPinHigh);
    EXPECT_EQ(ready.model, "VP");

    answering = false;
    auto start = Clock::now();
    EXPECT_EQ(ReadPrinterStatus(link).outcome.fault, LinkFault::NoReply);
    EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(1000));

    link.m_replyBoundMs = 60'000;
    std::stop_source stop;
    std::jthread stopper([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        stop.request_stop();
    });
    start = Clock::now();
    EXPECT_EQ(ReadPrinterStatus(link, stop.get_token()).outcome.fault, LinkFault::Stopped);
    EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(1000));
    responder.request_stop();
    link.Disconnect();
}

TEST(QueryDevices, SilentNetworkPrinterAndAnsweringUsbNode)
{
    {
        LoopbackServer silent;
        EthernetLink<> f(silent.Port());
        f.link.m_replyBoundMs = 200;
        f.link.UseTarget(f.link.HostTarget());
        EXPECT_EQ(ReadPrinterStatus(f.link).outcome.fault, LinkFault::NoReply);
        const auto seen = silent.WaitForConnections(1);
        ASSERT_EQ(seen.size(), 1u) << "one connection for the whole status";
        EXPECT_EQ(seen[0], "\x10\x04\x01"s);
    }
    {
        FakeUsbTree tree;
        tree.AddNode("lp0", "07");
        PtyPrinter printer;
        std::filesystem::create_symlink(printer.Path(), tree.root + "/dev/usb/lp0");
        FakeHost host;
        host.port = "USB";
        PosixPlatform platform(tree.Finder());
        HostedLink link(host, platform);
        link.m_replyBoundMs = 200;
        ASSERT_TRUE(link.Connect().connected);
        std::jthread responder([&](std::stop_token done) {
            while (!done.stop_requested()) {
                const std::string q = printer.Read(3);
                if (q.size() == 3) printer.Write(q[0] == 0x10 ? "\x12"s : ""s);
            }
        });
        const StatusReport report = ReadPrinterStatus(link);
        EXPECT_TRUE(report.ok()) << int(report.outcome.fault);
        EXPECT_EQ(report.model, std::nullopt);
        responder.request_stop();
        link.Disconnect();
    }
}
