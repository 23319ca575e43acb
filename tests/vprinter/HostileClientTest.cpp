// Clients that leave a command unfinished, hold the line or come all at once: every
// connection starts clean and none waits for long.
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <filesystem>
#include <netinet/in.h>
#include <sys/socket.h>
#include <fstream>
#include <unistd.h>
#include <vector>

#include "tests/support/Hex.h"
#include "tests/vprinter/LoopbackClient.h"
#include "vprinter/VirtualPrinter.h"

namespace tallyx::vprinter::test {
namespace {

namespace fs = std::filesystem;
using tallyx::test::Hex;

const char* const kDefaultReply = "C0 A8 01 64 FF FF FF 00 C0 A8 01 01 C0 A8 01 01 01 00 00 00 00 00";
const std::string kQuery = "\x10\x04\x13";

std::string TempPath(const char* name)
{
    return (fs::temp_directory_path() / ("vprinter-hostile-" + std::to_string(::getpid()) + "-" + name)).string();
}

std::string FileText(const std::string& path)
{
    std::ifstream in(path);
    return std::string((std::istreambuf_iterator<char>(in)), {});
}

TEST(HostileClients, CommandCutOffByItsConnectionDoesNotSwallowTheNextClient)
{
    const std::string log = TempPath("log.jsonl");
    fs::remove(log);
    VirtualPrinterOptions options;
    options.listenPort = 0;
    options.logPath = log;
    VirtualPrinter printer(options);
    ASSERT_TRUE(printer.Start());

    // Announces 65,535 bytes of QR data, sends three, goes.
    const int first = ConnectLoopback(printer.TcpPort());
    ASSERT_GE(first, 0);
    ASSERT_TRUE(SendAll(first, std::string("\x1D\x28\x6B\xFF\xFF\x31\x50\x30" "ABC", 11)));
    ::close(first);

    const int second = ConnectLoopback(printer.TcpPort());
    ASSERT_GE(second, 0);
    ASSERT_TRUE(SendAll(second, kQuery));
    EXPECT_EQ(Hex(ReadUpTo(second, 22)), kDefaultReply);
    ::close(second);

    printer.Stop();
    const std::string text = FileText(log);
    EXPECT_NE(text.find("\"meaning\":\"two-dimensional symbol or extended function: cut off, discarded\""),
              std::string::npos)
        << text;
    fs::remove(log);
}

TEST(HostileClients, TheSerialLinkStillWaitsForSilence)
{
    // A serial line has no connections: a command cut off there ends after the silence only.
    std::vector<Bytes> replies;
    PrinterEngine engine({kPaper58Dots, "", "", 300}, {});
    engine.Start();
    const ReplyFn reply = [&](const Bytes& r) { replies.push_back(r); };
    const std::string cut = "\x1D\x28\x6B\xFF\xFF\x31\x50\x30";
    engine.Feed(reinterpret_cast<const uint8_t*>(cut.data()), cut.size(), "serial", reply);
    engine.Feed(reinterpret_cast<const uint8_t*>(kQuery.data()), kQuery.size(), "serial", reply);
    EXPECT_TRUE(replies.empty()) << "the query is data of the unfinished command";
    std::this_thread::sleep_for(std::chrono::milliseconds(600));
    engine.Feed(reinterpret_cast<const uint8_t*>(kQuery.data()), kQuery.size(), "serial", reply);
    ASSERT_EQ(replies.size(), 1u);
    EXPECT_EQ(Hex(replies[0]), kDefaultReply);
}

TEST(HostileClients, ASilentConnectionGivesWayToAWaitingOne)
{
    VirtualPrinterOptions options;
    options.listenPort = 0;
    VirtualPrinter printer(options);
    ASSERT_TRUE(printer.Start());
    const int silent = ConnectLoopback(printer.TcpPort());
    ASSERT_GE(silent, 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(50));   // it is being served
    const int asking = ConnectLoopback(printer.TcpPort());
    ASSERT_GE(asking, 0);
    ASSERT_TRUE(SendAll(asking, kQuery));
    EXPECT_EQ(Hex(ReadUpTo(asking, 22)), kDefaultReply) << "within the wait, not never";
    ::close(asking);
    ::close(silent);
}

TEST(HostileClients, AClientThatNeverReadsItsRepliesIsLetGo)
{
    VirtualPrinterOptions options;
    options.listenPort = 0;
    VirtualPrinter printer(options);
    ASSERT_TRUE(printer.Start());
    // A small receive window and a flood of queries it never reads the answers to.
    const int greedy = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const int small = 4096;
    ::setsockopt(greedy, SOL_SOCKET, SO_RCVBUF, &small, sizeof small);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(printer.TcpPort());
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(::connect(greedy, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
    std::thread flood([greedy] {
        std::string queries;
        for (int i = 0; i < 100000; ++i) queries += kQuery;
        for (int round = 0; round < 10 && SendAll(greedy, queries); ++round) {
        }
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    const int asking = ConnectLoopback(printer.TcpPort());
    ASSERT_GE(asking, 0);
    ASSERT_TRUE(SendAll(asking, kQuery));
    EXPECT_EQ(Hex(ReadUpTo(asking, 22, 10000)), kDefaultReply);
    ::close(asking);
    ::shutdown(greedy, SHUT_RDWR);
    flood.join();
    ::close(greedy);
}

TEST(HostileClients, ABurstOfThreeHundredConnectionsIsServedWhole)
{
    constexpr int kClients = 300;
    VirtualPrinterOptions options;
    options.listenPort = 0;
    VirtualPrinter printer(options);
    ASSERT_TRUE(printer.Start());
    // All connect and send first, then all close: every one is queued at the same time.
    std::vector<int> clients;
    for (int i = 0; i < kClients; ++i) {
        const int fd = ConnectLoopback(printer.TcpPort());
        ASSERT_GE(fd, 0) << "client " << i;
        ASSERT_TRUE(SendAll(fd, "receipt " + std::to_string(i) + "\n\x1D\x56\x41" + std::string(1, '\0')));
        clients.push_back(fd);
    }
    for (int fd : clients) ::close(fd);
    // A generous bound: with a listen queue that overflows, this takes tens of seconds.
    EXPECT_TRUE(WaitUntil([&] { return printer.ReceiptsFinished() == kClients; }, 10000))
        << printer.ReceiptsFinished() << " of " << kClients;
}

} // namespace
} // namespace tallyx::vprinter::test
