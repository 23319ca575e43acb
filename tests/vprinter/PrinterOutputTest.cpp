// What the printer hands out beside its log: one picture per cut, the voice chip's line.
#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <unistd.h>

#include "tests/vprinter/LoopbackClient.h"
#include "vprinter/VirtualPrinter.h"

namespace tallyx::vprinter::test {
namespace {

namespace fs = std::filesystem;

struct TempDir {
    TempDir() : path(fs::temp_directory_path() / ("vprinter-out-" + std::to_string(::getpid())))
    {
        fs::remove_all(path);
    }
    ~TempDir() { fs::remove_all(path); }
    fs::path path;
};

TEST(PrinterOutput, CutterRunOfNCyclesGivesNPictures)
{
    TempDir dir;
    VirtualPrinterOptions options;
    options.listenPort = 0;
    options.outDir = dir.path.string();
    VirtualPrinter printer(options);
    ASSERT_TRUE(printer.Start());
    constexpr int kCycles = 4;
    for (int i = 1; i <= kCycles; ++i) {
        // One connection per cycle, as the tool's cutter test sends them.
        const int fd = ConnectLoopback(printer.TcpPort());
        ASSERT_GE(fd, 0);
        const std::string cycle = "0000000" + std::to_string(i) + "\n\n\x1D\x56\x41" + std::string(1, '\0');
        EXPECT_TRUE(SendAll(fd, cycle));
        ::close(fd);
    }
    ASSERT_TRUE(WaitUntil([&] { return printer.ReceiptsFinished() == kCycles; }));
    const std::vector<std::string> files = printer.WrittenFiles();
    ASSERT_EQ(files.size(), size_t(kCycles));
    EXPECT_EQ(fs::path(files.front()).filename(), "receipt-0001.png");
    EXPECT_EQ(fs::path(files.back()).filename(), "receipt-0004.png");
    for (const std::string& file : files) {
        QImage picture(QString::fromStdString(file));
        EXPECT_EQ(picture.width(), 384);
        EXPECT_EQ(picture.height(), 30 + 30) << "the number's line and one empty line, 30 dots apart";
    }
}

TEST(PrinterOutput, VoiceLineIsKeptAndAnnounced)
{
    VirtualPrinterOptions options;
    options.listen = false;
    VirtualPrinter printer(options);
    ASSERT_TRUE(printer.Start());
    std::atomic<int> changes{0};
    printer.SetChangedCallback([&] { ++changes; });
    EXPECT_EQ(printer.LastVoiceLine(), "");
    const std::string prompt = "\x1F\x12\x10\x07";
    printer.Feed(reinterpret_cast<const uint8_t*>(prompt.data()), prompt.size(), "tcp");
    EXPECT_EQ(printer.LastVoiceLine(), "voice prompt 7");
    EXPECT_EQ(changes.load(), 1);
    const std::string amount = "\x1F\x13\x05" "12.50";
    printer.Feed(reinterpret_cast<const uint8_t*>(amount.data()), amount.size(), "tcp");
    EXPECT_EQ(printer.LastVoiceLine(), "amount 12.50");
    EXPECT_EQ(changes.load(), 2);
    printer.SetChangedCallback({});
}

} // namespace
} // namespace tallyx::vprinter::test
