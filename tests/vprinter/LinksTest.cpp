// The printer through real links: a loopback TCP connection and the pseudo-terminal.
#include <gtest/gtest.h>

#include <QImage>
#include <arpa/inet.h>
#include <chrono>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <termios.h>
#include <thread>
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

const char* const kDefaultReply = "C0 A8 01 64 FF FF FF 00 C0 A8 01 01 C0 A8 01 01 01 00 00 00 00 00";

void SendHex(int fd, std::string_view hex)
{
    const Bytes bytes = FromHex(hex);
    ASSERT_EQ(::write(fd, bytes.data(), bytes.size()), ssize_t(bytes.size()));
}

class Links : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_dir = tallyx::test::FreshTestDir("tallyx-vp-links-");
    }
    void TearDown() override
    {
        m_printer.reset();
        fs::remove_all(m_dir);
    }
    VirtualPrinter& Start(VirtualPrinterOptions o)
    {
        o.listenHost = "127.0.0.1";
        o.listenPort = 0;
        o.outDir = (m_dir / "out").string();
        m_printer = std::make_unique<VirtualPrinter>(o);
        std::string error;
        EXPECT_TRUE(m_printer->Start(&error)) << error;
        return *m_printer;
    }
    std::string PtyPath() const { return (m_dir / "ttyVP0").string(); }

    fs::path m_dir;
    std::unique_ptr<VirtualPrinter> m_printer;
};

TEST_F(Links, TcpSelfTestMakesAReceiptPicture)
{
    VirtualPrinter& printer = Start({});
    ASSERT_NE(printer.TcpPort(), 0);
    int fd = ConnectLoopback(printer.TcpPort());
    ASSERT_GE(fd, 0);
    SendHex(fd, "1F 11 04");
    ::close(fd);
    ASSERT_TRUE(WaitUntil([&] { return printer.WrittenFiles().size() == 1; }));
    const std::string file = printer.WrittenFiles()[0];
    EXPECT_EQ(fs::path(file).filename(), "receipt-0001.png");
    QImage image(QString::fromStdString(file));
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.width(), 384);
    EXPECT_GT(image.height(), 20 * 30);
}

TEST_F(Links, TcpQueryGetsTheNetworkReplyAndTheSettingChangesIt)
{
    VirtualPrinter& printer = Start({});
    int fd = ConnectLoopback(printer.TcpPort());
    ASSERT_GE(fd, 0);
    SendHex(fd, "10 04 13");
    EXPECT_EQ(Hex(ReadUpTo(fd, 22)), kDefaultReply);
    ::close(fd);

    fd = ConnectLoopback(printer.TcpPort());
    SendHex(fd, "1F 1B 1D 02 C0 A8 01 C8 FF FF FF 00 C0 A8 01 01 08 08 08 08 01");
    ::close(fd);
    fd = ConnectLoopback(printer.TcpPort());
    SendHex(fd, "10 04 13");
    EXPECT_EQ(Hex(ReadUpTo(fd, 22)), "C0 A8 01 C8 FF FF FF 00 C0 A8 01 01 08 08 08 08 01 00 00 00 00 00");
    ::close(fd);
}

TEST_F(Links, OneConnectionAtATime)
{
    VirtualPrinter& printer = Start({});
    int first = ConnectLoopback(printer.TcpPort());
    int second = ConnectLoopback(printer.TcpPort());   // waits in the listen queue
    ASSERT_GE(first, 0);
    ASSERT_GE(second, 0);
    SendHex(second, "10 04 13");
    SendHex(first, "10 04 13");
    EXPECT_EQ(Hex(ReadUpTo(first, 22)), kDefaultReply);
    ::close(first);
    EXPECT_EQ(Hex(ReadUpTo(second, 22)), kDefaultReply) << "served once the first has closed";
    ::close(second);
}

TEST_F(Links, FaultsShortReplyResetAndLateAccept)
{
    const auto options = [](auto set) {
        VirtualPrinterOptions o;
        set(o);
        return o;
    };
    const struct {
        const char* fault;
        VirtualPrinterOptions options;
        const char* sent;
        int readMs;
        std::string reply;
        bool resetAfterReply;
    } rows[] = {
        {"short reply", options([](auto& o) { o.replyBytes = 5; }), "10 04 13", 500, "C0 A8 01 64 FF", false},
        // The reply to the first three bytes, then the reset instead of an orderly end.
        {"reset", options([](auto& o) { o.resetAfter = 3; }), "10 04 13 41 42 43", kClientWaitMs, kDefaultReply, true},
        {"late accept", options([](auto& o) { o.acceptDelayMs = 300; }), "10 04 13", kClientWaitMs, kDefaultReply, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.fault);
        VirtualPrinter& printer = Start(row.options);
        int fd = ConnectLoopback(printer.TcpPort());
        SendHex(fd, row.sent);
        EXPECT_EQ(Hex(ReadUpTo(fd, 22, row.readMs)), row.reply);
        if (row.resetAfterReply) {
            pollfd pfd{fd, POLLIN, 0};
            ASSERT_EQ(::poll(&pfd, 1, kClientWaitMs), 1);
            uint8_t byte;
            errno = 0;
            const ssize_t n = ::recv(fd, &byte, 1, 0);
            EXPECT_TRUE(n < 0 && errno == ECONNRESET) << "recv " << n << " errno " << errno;
        }
        ::close(fd);
    }
}

int OpenSerial(const std::string& path)
{
    int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return -1;
    termios tio{};
    ::tcgetattr(fd, &tio);
    ::cfmakeraw(&tio);
    ::cfsetspeed(&tio, B9600);
    ::tcsetattr(fd, TCSANOW, &tio);
    return fd;
}

TEST_F(Links, SerialSelfTestAndQueryThroughThePseudoTerminal)
{
    VirtualPrinterOptions o;
    o.listen = false;
    o.ptyPath = PtyPath();
    VirtualPrinter& printer = Start(o);
    EXPECT_TRUE(fs::is_symlink(PtyPath()));
    EXPECT_EQ(fs::read_symlink(PtyPath()).string(), printer.PtySlaveName());

    int fd = OpenSerial(PtyPath());
    ASSERT_GE(fd, 0);
    SendHex(fd, "1F 11 04");
    ::close(fd);
    // The tool closes and reopens the port after every command.
    for (int i = 0; i < 2; ++i) {
        fd = OpenSerial(PtyPath());
        ASSERT_GE(fd, 0);
        ::close(fd);
    }
    ASSERT_TRUE(WaitUntil([&] { return printer.WrittenFiles().size() == 1; }));
    EXPECT_FALSE(QImage(QString::fromStdString(printer.WrittenFiles()[0])).isNull());

    fd = OpenSerial(PtyPath());
    SendHex(fd, "10 04 13");
    EXPECT_EQ(Hex(ReadUpTo(fd, 22)), kDefaultReply);
    ::close(fd);

    m_printer->Stop();
    EXPECT_FALSE(fs::exists(fs::symlink_status(PtyPath()))) << "the link goes with the printer";
}

TEST_F(Links, StatusAnswersAndTheStatusBackGoOverThePseudoTerminalAndTcp)
{
    VirtualPrinterOptions o;
    o.ptyPath = PtyPath();
    o.status.coverOpen = true;
    VirtualPrinter& printer = Start(o);
    const int serial = OpenSerial(PtyPath());
    const int tcp = ConnectLoopback(printer.TcpPort());
    ASSERT_GE(serial, 0);
    ASSERT_GE(tcp, 0);
    for (int fd : {serial, tcp}) {
        SCOPED_TRACE(fd == tcp ? "tcp" : "serial");
        SendHex(fd, "10 04 02");
        EXPECT_EQ(Hex(ReadUpTo(fd, 1)), "16");
    }
    printer.SetStatus({});
    for (int fd : {serial, tcp}) {
        SCOPED_TRACE(fd == tcp ? "tcp" : "serial");
        // In order with the stream: the status, then the status back asked for.
        SendHex(fd, "10 04 02 1D 61 02");
        EXPECT_EQ(Hex(ReadUpTo(fd, 5)), "12 10 00 00 00");
    }
    o.status = {};
    o.status.drawerOpen = true;
    o.status.paperOut = true;
    printer.SetStatus(o.status);
    EXPECT_EQ(printer.Status(), o.status);
    for (int fd : {serial, tcp}) {
        SCOPED_TRACE(fd == tcp ? "tcp" : "serial");
        EXPECT_EQ(Hex(ReadUpTo(fd, 4)), "1C 00 0F 00");
    }
    ::close(serial);
    ::close(tcp);
}

TEST_F(Links, AToolThatNeverReadsItsRepliesDoesNotHangTheSerialPort)
{
    VirtualPrinterOptions o;
    o.listen = false;
    o.ptyPath = PtyPath();
    Start(o);
    const int fd = OpenSerial(PtyPath());
    ASSERT_GE(fd, 0);
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
    // Far more replies than the pseudo-terminal holds, none of them read.
    std::string flood;
    for (int i = 0; i < 100000; ++i) flood += "\x10\x04\x01";
    size_t sent = 0;
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (sent < flood.size() && std::chrono::steady_clock::now() < until) {
        const ssize_t n = ::write(fd, flood.data() + sent, std::min<size_t>(4096, flood.size() - sent));
        if (n > 0) sent += size_t(n);
        else std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    EXPECT_EQ(sent, flood.size()) << "the printer went on reading";
    // Once the tool reads again, it is answered again.
    while (!ReadUpTo(fd, 1 << 20, 300).empty()) {
    }
    SendHex(fd, "10 04 02");
    EXPECT_EQ(Hex(ReadUpTo(fd, 1)), "12");
    ::close(fd);
    const auto stopping = std::chrono::steady_clock::now();
    m_printer->Stop();
    EXPECT_LT(std::chrono::steady_clock::now() - stopping, std::chrono::seconds(2));
}

TEST_F(Links, PtyRefusesToReplaceAFile)
{
    { std::ofstream(PtyPath()) << "keep me"; }
    VirtualPrinterOptions o;
    o.listen = false;
    o.ptyPath = PtyPath();
    VirtualPrinter printer(o);
    std::string error;
    EXPECT_FALSE(printer.Start(&error));
    EXPECT_NE(error.find("not a symbolic link"), std::string::npos);
    EXPECT_TRUE(fs::is_regular_file(PtyPath()));
}

TEST_F(Links, UnfinishedReceiptIsWrittenAfterSilenceAndAtStop)
{
    VirtualPrinterOptions o;
    o.idleMs = 200;
    VirtualPrinter& printer = Start(o);
    int fd = ConnectLoopback(printer.TcpPort());
    SendHex(fd, "41 42 43 0A");
    ::close(fd);
    ASSERT_TRUE(WaitUntil([&] { return printer.WrittenFiles().size() == 1; }));

    fd = ConnectLoopback(printer.TcpPort());
    SendHex(fd, "44 45 46");   // no line feed: printed by the silence as well
    ::close(fd);
    ASSERT_TRUE(WaitUntil([&] { return printer.WrittenFiles().size() == 2; }));

    const Bytes more = FromHex("47 48 49 0A");
    printer.Feed(more.data(), more.size(), "test");
    m_printer->Stop();
    EXPECT_EQ(printer.WrittenFiles().size(), 3u);
}

TEST_F(Links, NumberingContinuesAfterReceiptsAlreadyThere)
{
    fs::create_directories(m_dir / "out");
    { std::ofstream(m_dir / "out" / "receipt-0007.png") << "x"; }
    VirtualPrinter& printer = Start({});
    const Bytes bytes = FromHex("41 0A 1D 56 00");
    printer.Feed(bytes.data(), bytes.size(), "test");
    ASSERT_EQ(printer.WrittenFiles().size(), 1u);
    EXPECT_EQ(fs::path(printer.WrittenFiles()[0]).filename(), "receipt-0008.png");
}

} // namespace
} // namespace tallyx::vprinter::test
