// What the serial backend must never do: write into something that is not a port, or
// hang on a port nobody reads.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

#include "link/PosixPlatform.h"
#include "tests/support/RecordingPlatform.h"
#include "tests/support/PtyPrinter.h"

using namespace tallyx;
using namespace tallyx::test;
namespace fs = std::filesystem;

namespace {

struct Snapshot {
    std::string contents;
    struct timespec mtime {};
    bool operator==(const Snapshot& o) const
    {
        return contents == o.contents && mtime.tv_sec == o.mtime.tv_sec && mtime.tv_nsec == o.mtime.tv_nsec;
    }
};

Snapshot Take(const fs::path& path)
{
    Snapshot s;
    struct stat st {};
    ::stat(path.c_str(), &st);
    s.mtime = st.st_mtim;
    if (fs::is_regular_file(path)) {
        std::ifstream in(path, std::ios::binary);
        s.contents.assign(std::istreambuf_iterator<char>(in), {});
    }
    return s;
}

} // namespace

TEST(PortSafety, FilesFifosAndDirectoriesAreRefusedAndLeftAlone)
{
    const fs::path dir = fs::temp_directory_path() / ("tallyx-port-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const fs::path file = dir / "notes.txt";
    std::ofstream(file) << "keep me";
    const fs::path fifo = dir / "fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const fs::path sub = dir / "sub";
    fs::create_directories(sub);

    for (const fs::path& path : {file, fifo, sub, fs::path("/dev/null")}) {
        SCOPED_TRACE(path.string());
        const Snapshot before = Take(path);
        FakeHost host;
        host.port = path.string();
        PosixPlatform platform;
        HostedLink link(host, platform);
        const ConnectOutcome connect = link.Connect();
        EXPECT_FALSE(connect.connected);
        EXPECT_EQ(connect.outcome.fault, LinkFault::PortBusy);
        EXPECT_EQ(host.messages, (std::vector<std::string>{"警告|此端口被占用或已损坏|0"}));
        EXPECT_TRUE(Take(path) == before);
    }
    fs::remove_all(dir);
}

TEST(PortSafety, AWriteToAPortNobodyReadsEndsAtItsBound)
{
    PtyPrinter printer;   // never read
    FakeHost host;
    host.port = printer.Path();
    PosixPlatform platform;
    HostedLink link(host, platform);
    link.m_writeBound = WriteBound{0, 200};
    ASSERT_TRUE(link.Connect().connected);
    const Bytes big(1 << 20, 0x41);   // far more than a pty buffers
    const auto start = std::chrono::steady_clock::now();
    const Outcome outcome = link.SendToPrinter(big);
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(outcome.fault, LinkFault::WriteTimeout);
    EXPECT_EQ(host.faults.front(), LinkFault::WriteTimeout);
    // The write and the drains of both reopens, each bounded, well short of forever.
    EXPECT_LT(took, std::chrono::seconds(5));
    EXPECT_TRUE(host.messages.empty());   // the window does not show write results
}
