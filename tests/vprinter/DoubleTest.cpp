// The printer as a test double: forwarding to a second printer as the real one, scripted
// faults (one test an event kind), and the automatic status back kept on its connection.
#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sys/socket.h>
#include <unistd.h>

#include "tests/support/Hex.h"
#include "tests/support/TestDir.h"
#include "tests/vprinter/LoopbackClient.h"
#include "vprinter/VirtualPrinter.h"

namespace tallyx::vprinter::test {
namespace {

namespace fs = std::filesystem;
using tallyx::test::FromHex;
using tallyx::test::Hex;
using namespace std::string_view_literals;

// A reply that should not come is given this long to come all the same.
constexpr int kNoReplyMs = 400;
// A receipt cut at its end, then the paper sensors asked (DLE EOT 4).
constexpr std::string_view kReceipt = "Forwarded\n\x1D\x56\x00"sv;
constexpr std::string_view kAskPaper = "\x10\x04\x04";

class Double : public ::testing::Test {
protected:
    void SetUp() override { m_dir = tallyx::test::FreshTestDir("tallyx-vp-double-"); }
    void TearDown() override
    {
        for (int fd : m_fds) ::close(fd);
        m_printers.clear();
        fs::remove_all(m_dir);
    }
    VirtualPrinter& Start(VirtualPrinterOptions o, const std::string& name)
    {
        o.listenPort = 0;
        o.outDir = (m_dir / name).string();
        o.logPath = (m_dir / (name + ".jsonl")).string();
        m_printers.push_back(std::make_unique<VirtualPrinter>(o));
        std::string error;
        EXPECT_TRUE(m_printers.back()->Start(&error)) << error;
        return *m_printers.back();
    }
    VirtualPrinter& StartScripted(std::string_view script, VirtualPrinterOptions o = {})
    {
        std::string error;
        auto events = ParseScript(script, &error);
        EXPECT_TRUE(events) << error;
        if (events) o.script = *events;
        return Start(o, "scripted");
    }
    int Connect(const VirtualPrinter& printer)
    {
        const int fd = ConnectLoopback(printer.TcpPort());
        EXPECT_GE(fd, 0);
        m_fds.push_back(fd);
        return fd;
    }
    std::vector<nlohmann::json> Log(const std::string& name) const
    {
        std::ifstream in(m_dir / (name + ".jsonl"));
        std::vector<nlohmann::json> lines;
        for (std::string line; std::getline(in, line);) lines.push_back(nlohmann::json::parse(line));
        return lines;
    }
    std::vector<std::string> Meanings(const std::string& name, std::string_view link) const
    {
        std::vector<std::string> found;
        for (const auto& line : Log(name))
            if (line["link"] == link) found.push_back(line["meaning"]);
        return found;
    }

    fs::path m_dir;
    std::vector<std::unique_ptr<VirtualPrinter>> m_printers;
    std::vector<int> m_fds;
};

ForwardTarget Socket(const VirtualPrinter& real)
{
    std::string error;
    auto target = ParseForwardTarget("socket://127.0.0.1:" + std::to_string(real.TcpPort()), &error);
    EXPECT_TRUE(target) << error;
    return *target;
}

TEST(ForwardTarget, SocketDeviceAndSerialWithItsBaud)
{
    std::string error;
    const auto socket = ParseForwardTarget("socket://printer.local:9100", &error);
    ASSERT_TRUE(socket);
    EXPECT_EQ(socket->host, "printer.local");
    EXPECT_EQ(socket->port, 9100);
    const auto usb = ParseForwardTarget("/dev/usb/lp0", &error);
    ASSERT_TRUE(usb);
    EXPECT_EQ(usb->device, "/dev/usb/lp0");
    EXPECT_EQ(usb->baud, 0);
    const auto serial = ParseForwardTarget("/dev/ttyUSB0:9600", &error);
    ASSERT_TRUE(serial);
    EXPECT_EQ(serial->device, "/dev/ttyUSB0");
    EXPECT_EQ(serial->baud, 9600);
    for (const char* bad : {"socket://:9100", "socket://host", "socket://host:0", "lp0", "/dev/ttyS0:9601"})
        EXPECT_FALSE(ParseForwardTarget(bad, &error)) << bad;
    EXPECT_EQ(error, "not a baud rate: 9601 (1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200, 230400)");
}

TEST_F(Double, ForwardedBytesDrawTheSameOnBothAndTheRealPrinterAnswers)
{
    VirtualPrinterOptions realOptions;
    realOptions.status.paperNearEnd = true;   // so its answer is told from the double's
    VirtualPrinter& real = Start(realOptions, "real");
    VirtualPrinterOptions options;
    options.forward = Socket(real);
    VirtualPrinter& vp = Start(options, "double");

    const int fd = Connect(vp);
    ASSERT_TRUE(SendAll(fd, std::string(kReceipt) + std::string(kAskPaper)));
    EXPECT_EQ(Hex(ReadUpTo(fd, 2, kNoReplyMs * 3)), "1E") << "one answer, the real printer's";
    ASSERT_TRUE(WaitUntil([&] { return real.WrittenFiles().size() == 1 && vp.WrittenFiles().size() == 1; }));
    EXPECT_EQ(QImage(QString::fromStdString(real.WrittenFiles()[0])),
              QImage(QString::fromStdString(vp.WrittenFiles()[0])));
    const std::vector<std::string> meanings = Meanings("double", "tcp");
    EXPECT_EQ(meanings.front(), "print \"Forwarded\"");
    // The double's own answer is logged as made and said not to have gone to the client.
    const auto asked = std::find_if(meanings.begin(), meanings.end(),
                                    [](const std::string& m) { return m.find("answered") != std::string::npos; });
    ASSERT_NE(asked, meanings.end());
    EXPECT_NE(asked->find("not sent: socket://127.0.0.1:"), std::string::npos) << *asked;
}

TEST_F(Double, ARealPrinterGoneDoesNotAnswerAndTheLogSaysWhatDidNotReachIt)
{
    VirtualPrinter* real = &Start({}, "real");
    VirtualPrinterOptions options;
    options.forward = Socket(*real);
    VirtualPrinter& vp = Start(options, "double");
    real->Stop();

    const int fd = Connect(vp);
    ASSERT_TRUE(SendAll(fd, "Lost\n\x10\x04\x01"));
    EXPECT_TRUE(ReadUpTo(fd, 1, kNoReplyMs).empty());
    std::string lost;
    ASSERT_TRUE(WaitUntil([&] {
        lost.clear();
        for (const auto& line : Log("double"))
            if (line["mnemonic"] == "not forwarded") lost += (lost.empty() ? "" : " ") + line["hex"].get<std::string>();
        return lost.size() >= 23;
    }));
    EXPECT_EQ(lost, "4C 6F 73 74 0A 10 04 01");
    EXPECT_EQ(Meanings("double", "tcp").front().rfind("did not reach socket://127.0.0.1:", 0), 0u);
}

TEST(Script, EveryKindOfLineAndItsLineNumber)
{
    std::string error;
    const auto events = ParseScript("# faults\n\nreceipt:2 paper-out  # the second\ntime:1.5 ready\n"
                                    "time:0 silent\ntime:3 answer\nreceipt:1 close\ntime:0 rate:120\n",
                                    &error);
    ASSERT_TRUE(events) << error;
    ASSERT_EQ(events->size(), 6u);
    EXPECT_EQ((*events)[0].line, 3);
    EXPECT_EQ((*events)[0].text, "receipt:2 paper-out");
    EXPECT_TRUE((*events)[0].afterReceipt);
    EXPECT_EQ((*events)[0].receipt, 2);
    EXPECT_EQ((*events)[0].condition, &DeviceStatus::paperOut);
    EXPECT_DOUBLE_EQ((*events)[1].seconds, 1.5);
    EXPECT_EQ((*events)[1].action, ScriptAction::Ready);
    EXPECT_EQ((*events)[5].rate, 120);

    const std::pair<std::string_view, std::string_view> bad[] = {
        {"time:1 ready\nreceipt:0 close", "line 2: receipt:N wants a receipt number from 1, got \"receipt:0\""},
        {"time:-1 ready", "line 1: time:S wants seconds from 0, got \"time:-1\""},
        {"later ready", "line 1: expected receipt:N or time:S, got \"later\""},
        {"\n\ntime:1", "line 3: expected WHEN ACTION, got \"time:1\""},
        {"time:1 rate:0", "line 1: rate:B wants bytes a second from 1, got \"rate:0\""},
        {"time:1 ready close", "line 1: one action a line, got \"ready close\""},
        {"time:1 jam", "line 1: unknown action \"jam\", expected paper-near-end, paper-out, cover-open, "
                       "drawer-open, offline, cutter-error, ready, silent, answer, close or rate:B"},
    };
    for (const auto& [text, message] : bad) {
        EXPECT_FALSE(ParseScript(text, &error)) << text;
        EXPECT_EQ(error, message);
    }
}

TEST_F(Double, ScriptConditionAfterAReceiptIsAnsweredAndLogged)
{
    VirtualPrinter& vp = StartScripted("receipt:1 paper-near-end\n");
    const int fd = Connect(vp);
    ASSERT_TRUE(SendAll(fd, kAskPaper));
    EXPECT_EQ(Hex(ReadUpTo(fd, 1)), "12");
    ASSERT_TRUE(SendAll(fd, kReceipt));
    ASSERT_TRUE(WaitUntil([&] { return vp.Status().paperNearEnd; }));
    ASSERT_TRUE(SendAll(fd, kAskPaper));
    EXPECT_EQ(Hex(ReadUpTo(fd, 1)), "1E");
    EXPECT_EQ(Meanings("scripted", "script"), std::vector<std::string>{"line 1: receipt:1 paper-near-end"});
}

TEST_F(Double, ScriptReadyInTimeClearsTheConditions)
{
    VirtualPrinterOptions o;
    o.status.paperOut = true;
    o.status.coverOpen = true;
    VirtualPrinter& vp = StartScripted("time:0.2 ready", o);
    EXPECT_TRUE(vp.Status().paperOut);
    ASSERT_TRUE(WaitUntil([&] { return vp.Status() == DeviceStatus{}; }));
}

TEST_F(Double, ScriptSilentThenAnswer)
{
    VirtualPrinter& vp = StartScripted("time:0 silent\nreceipt:1 answer\n");
    ASSERT_TRUE(WaitUntil([&] { return !Meanings("scripted", "script").empty(); }));
    const int fd = Connect(vp);
    ASSERT_TRUE(SendAll(fd, "\x10\x04\x01\x1D\x61\x0F"));
    EXPECT_TRUE(ReadUpTo(fd, 1, kNoReplyMs).empty()) << "neither the status nor its automatic return";
    ASSERT_TRUE(SendAll(fd, kReceipt));
    ASSERT_TRUE(WaitUntil([&] { return Meanings("scripted", "script").size() == 2; }));
    ASSERT_TRUE(SendAll(fd, "\x10\x04\x01"));
    EXPECT_EQ(Hex(ReadUpTo(fd, 1)), "12");
}

TEST_F(Double, ScriptCloseEndsTheClientsConnection)
{
    VirtualPrinter& vp = StartScripted("receipt:1 close\n");
    const int fd = Connect(vp);
    ASSERT_TRUE(SendAll(fd, kReceipt));
    // The end of the stream, not the time limit: the bound is far beyond the receipt's cut.
    const auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(ReadUpTo(fd, 1).empty());
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(kClientWaitMs));
    const int next = Connect(vp);
    ASSERT_TRUE(SendAll(next, "\x10\x04\x01"));
    EXPECT_EQ(Hex(ReadUpTo(next, 1)), "12") << "the printer serves the next one";
}

TEST_F(Double, ScriptRateSlowsWhatThePrinterTakes)
{
    // 200 bytes at 400 a second take at least half a second before the question is read.
    VirtualPrinter& vp = StartScripted("time:0 rate:400\n");
    ASSERT_TRUE(WaitUntil([&] { return !Meanings("scripted", "script").empty(); }));
    const int fd = Connect(vp);
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(SendAll(fd, std::string(197, 'x') + "\x10\x04\x01"));
    EXPECT_EQ(Hex(ReadUpTo(fd, 1)), "12");
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(450));
}

TEST_F(Double, StatusBackStaysOnItsConnectionWhileOthersAreServed)
{
    VirtualPrinter& vp = Start({}, "asb");
    const int watcher = Connect(vp);
    ASSERT_TRUE(SendAll(watcher, "\x1D\x61\x0F"));
    EXPECT_EQ(Hex(ReadUpTo(watcher, 4)), "10 00 00 00");
    // Another client waits; the silent watcher makes room for it but is not closed.
    const int till = Connect(vp);
    ASSERT_TRUE(SendAll(till, kReceipt));
    ASSERT_TRUE(WaitUntil([&] { return vp.ReceiptsFinished() == 1; }));
    DeviceStatus out;
    out.paperOut = true;
    vp.SetStatus(out);
    EXPECT_EQ(Hex(ReadUpTo(watcher, 4)), "18 00 0F 00");
    EXPECT_TRUE(ReadUpTo(till, 1, kNoReplyMs).empty()) << "it did not ask";
    ::shutdown(till, SHUT_WR);
    ASSERT_TRUE(SendAll(watcher, "\x10\x04\x04"));
    EXPECT_EQ(Hex(ReadUpTo(watcher, 1)), "7E") << "served again when it speaks";
}

} // namespace
} // namespace tallyx::vprinter::test
