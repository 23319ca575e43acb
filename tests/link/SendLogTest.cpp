// The send log: one record per command handed to the link, with its bytes, its target and
// what came of it; the JSON line a record becomes.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cerrno>
#include <functional>

#include "link/SendLog.h"
#include "tests/support/FakeTransport.h"
#include "tests/support/RecordingPlatform.h"

using namespace tallyx;
using namespace tallyx::test;

namespace {

struct Logged {
    std::string link, target, bytes, outcome;
    size_t length;
};

struct Fixture {
    FakeHost host;
    RecordingPlatform platform;
    HostedLink link{host, platform};
    std::vector<Logged> lines;
    Fixture()
    {
        link.m_onSend = [this](const SendRecord& r) {
            const auto j = nlohmann::json::parse(SendLogLine(r));
            lines.push_back({j["link"], j["target"], j["bytes"], j["outcome"], j["length"]});
        };
    }
};

const Bytes kSelfTest{0x1F, 0x11, 0x04};

void ExpectLine(const Logged& l, const char* link, const char* target, const char* bytes, size_t length,
                const char* outcome)
{
    EXPECT_EQ(l.link, link);
    EXPECT_EQ(l.target, target);
    EXPECT_EQ(l.bytes, bytes);
    EXPECT_EQ(l.length, length);
    EXPECT_EQ(l.outcome, outcome);
}

} // namespace

namespace {

// The self-test command through a link set up for one case; the one line it logs.
struct Case {
    const char* trace;
    const char* port;
    std::function<void(Fixture&)> setUp;   // after the port is chosen, before the command
    const char* link;
    const char* target;
    const char* outcome;
};

void ExpectOneLine(const Case& c)
{
    SCOPED_TRACE(c.trace);
    Fixture f;
    f.host.port = c.port;
    c.setUp(f);
    f.link.SendToPrinter(kSelfTest);
    ASSERT_EQ(f.lines.size(), 1u);
    ExpectLine(f.lines[0], c.link, c.target, "1F 11 04", 3, c.outcome);
}

void Reopen(Fixture& f) { f.link.ReopenPort(); }
void Nothing(Fixture&) {}

} // namespace

TEST(SendLog, OneLinePerCommandOnEachKindOfLink)
{
    ExpectOneLine({"serial", "/dev/ttyS3", Reopen, "serial", "/dev/ttyS3", "sent"});
    ExpectOneLine({"usb", "USB", Nothing, "usb", "/dev/usb/lp0", "sent"});
    {
        SCOPED_TRACE("network");
        Fixture f;
        f.host.port = "Ethernet";
        f.link.SetTcpPort(9101);
        f.link.SendToPrinter(kSelfTest);
        ASSERT_EQ(f.lines.size(), 1u);
        ExpectLine(f.lines[0], "network", "127.0.0.1:9101", "1F 11 04", 3, "sent");
    }
}

namespace {

// Above the transport: what the link logs of what its transport did.
struct FakeFixture {
    Link link{NoPlatform()};
    FakeTransport* fake = nullptr;
    std::vector<Logged> lines;
    explicit FakeFixture(const char* describe)
    {
        auto transport = std::make_unique<FakeTransport>(LinkKind::Serial);
        transport->describe = describe;
        fake = transport.get();
        link.SetTell([](const Outcome&) {});
        link.m_onSend = [this](const SendRecord& r) {
            const auto j = nlohmann::json::parse(SendLogLine(r));
            lines.push_back({j["link"], j["target"], j["bytes"], j["outcome"], j["length"]});
        };
        EXPECT_TRUE(link.Connect(std::move(transport)).connected);
    }
    static Platform& NoPlatform()
    {
        static RecordingPlatform platform;   // a fake transport never reaches it
        return platform;
    }
};

} // namespace

TEST(SendLog, RepeatedCommandsLogEachRepetitionUntilOneFails)
{
    const Bytes one{0x0A};
    {
        FakeFixture f("COM2");
        EXPECT_TRUE(f.link.Deliver(one, 3).ok());
        ASSERT_EQ(f.lines.size(), 3u);
        for (const Logged& l : f.lines) ExpectLine(l, "serial", "COM2", "0A", 1, "sent");
    }
    FakeFixture f("COM2");
    f.fake->deliverOutcome = Outcome{LinkFault::WriteTimeout};
    f.fake->failFrom = 2;
    EXPECT_EQ(f.link.Deliver(one, 5).fault, LinkFault::WriteTimeout);
    EXPECT_EQ(f.fake->Delivered().size(), 2u);
    ASSERT_EQ(f.lines.size(), 2u);
    ExpectLine(f.lines[0], "serial", "COM2", "0A", 1, "sent");
    ExpectLine(f.lines[1], "serial", "COM2", "0A", 1, "WriteTimeout");
}

TEST(SendLog, NoTransportIsLoggedAsNotWritten)
{
    Link link{FakeFixture::NoPlatform()};
    std::vector<std::string> outcomes;
    link.m_onSend = [&](const SendRecord& r) { outcomes.emplace_back(OutcomeName(r.outcome)); };
    EXPECT_EQ(link.Deliver(kSelfTest).fault, LinkFault::NotWritten);
    EXPECT_EQ(outcomes, (std::vector<std::string>{"NotWritten"}));
}

TEST(SendLog, LinkFailuresAreLoggedWithTheFaultName)
{
    const Case cases[] = {
        {"the printer does not answer", "Ethernet", [](Fixture& f) { f.platform.refuse = true; }, "network",
         "127.0.0.1:9100", "NotReached"},
        {"the connection breaks part way", "Ethernet", [](Fixture& f) { f.platform.cutAfterBytes = 1; }, "network",
         "127.0.0.1:9100", "CutOff"},
        {"the USB printer did not open", "USB",
         [](Fixture& f) {
             f.platform.usbOpens = false;
             f.link.ReopenPort();
         },
         "usb", "/dev/usb/lp0", "UsbOpenFailed"},
        {"the serial port is taken when it reopens", "COM4",
         [](Fixture& f) {
             f.link.ReopenPort();
             f.platform.serialOpens["COM4"] = false;
         },
         "serial", "COM4", "PortBusy"},
        {"an incomplete printer address", "Ethernet",
         [](Fixture& f) {
             f.host.address = AddressEntry{};
             f.host.address.present = {true, true, false, false};
         },
         "network", "", "SendAddressIncomplete"},
    };
    for (const Case& c : cases) ExpectOneLine(c);
}

TEST(SendLog, TheNetworkSaveIsLoggedOnce)
{
    Fixture f;
    f.host.port = "Ethernet";
    const Bytes save{0x1F, 0x1B, 0x1D, 0x02};
    f.link.SendOnceOverTcp(save);
    ASSERT_EQ(f.lines.size(), 1u);
    ExpectLine(f.lines[0], "network", "127.0.0.1:9100", "1F 1B 1D 02", 4, "sent");
}

TEST(SendLog, NoHookNoRecord)
{
    Link link{FakeFixture::NoPlatform()};
    auto transport = std::make_unique<FakeTransport>();
    FakeTransport* fake = transport.get();
    ASSERT_TRUE(link.Connect(std::move(transport)).connected);
    EXPECT_TRUE(link.SendToPrinter(kSelfTest).ok());
    EXPECT_EQ(fake->Delivered(), (std::vector<std::string>{"1F 11 04"}));
}

TEST(SendLog, APortThatDidNotOpenSaysWhy)
{
    const std::pair<int, const char*> rows[] = {
        {ENOENT, "no such device"}, {EACCES, "permission denied"}, {EWOULDBLOCK, "busy"}, {ENOTTY, "not a serial port"}};
    for (const auto& [error, reason] : rows) {
        SCOPED_TRACE(reason);
        const SendRecord r{{}, LinkKind::Serial, "/dev/ttyS9", {0x0A}, Outcome{LinkFault::PortBusy, error}};
        const auto j = nlohmann::json::parse(SendLogLine(r));
        EXPECT_EQ(j["outcome"], "PortBusy");
        EXPECT_EQ(j["target"], "/dev/ttyS9");
        EXPECT_EQ(j["reason"], reason);
    }
}

TEST(SendLog, LineFormat)
{
    SendRecord r;
    r.time = std::chrono::system_clock::time_point(std::chrono::milliseconds(1796648645123));
    r.kind = LinkKind::Network;
    r.target = "192.168.1.100:9100";
    r.bytes = {0x1B, 0x40, 0x00, 0xFF};
    EXPECT_EQ(SendLogLine(r), R"({"time":"2026-12-07T13:04:05.123Z","link":"network","target":"192.168.1.100:9100",)"
                              R"("bytes":"1B 40 00 FF","length":4,"outcome":"sent"})");
    r.outcome = Outcome{LinkFault::WriteTimeout, 5};
    r.kind = LinkKind::Serial;
    r.target = "/dev/tty\"x\n";
    r.bytes.clear();
    EXPECT_EQ(SendLogLine(r), R"({"time":"2026-12-07T13:04:05.123Z","link":"serial","target":"/dev/tty\"x\n",)"
                              R"("bytes":"","length":0,"outcome":"WriteTimeout"})");
    EXPECT_EQ(SendLogLine(r, "dry-run"), R"({"time":"2026-12-07T13:04:05.123Z","link":"serial","target":"/dev/tty\"x\n",)"
                                         R"("bytes":"","length":0,"outcome":"dry-run"})");
}

TEST(SendLog, EveryFaultHasItsName)
{
    const std::pair<LinkFault, const char*> rows[] = {
        {LinkFault::None, "sent"}, {LinkFault::PortBusy, "PortBusy"}, {LinkFault::UsbOpenFailed, "UsbOpenFailed"},
        {LinkFault::NoUsbDevice, "NoUsbDevice"}, {LinkFault::UsbNotOpened, "UsbNotOpened"},
        {LinkFault::AddressBlank, "AddressBlank"}, {LinkFault::AddressIncomplete, "AddressIncomplete"},
        {LinkFault::SendAddressIncomplete, "SendAddressIncomplete"}, {LinkFault::SocketFailed, "SocketFailed"},
        {LinkFault::NotReached, "NotReached"}, {LinkFault::CutOff, "CutOff"}, {LinkFault::ReplyShort, "ReplyShort"},
        {LinkFault::SaveFailed, "SaveFailed"}, {LinkFault::WriteTimeout, "WriteTimeout"},
        {LinkFault::Stopped, "Stopped"},
    };
    for (const auto& [fault, name] : rows) {
        SCOPED_TRACE(name);
        EXPECT_EQ(OutcomeName(Outcome{fault}), name);
    }
}
