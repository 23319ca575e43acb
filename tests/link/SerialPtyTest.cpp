// The serial backend for real, on a pseudo-terminal pair.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

#include "link/PosixPlatform.h"
#include "link/SerialPort.h"
#include "tests/support/RecordingPlatform.h"
#include "tests/support/PtyPrinter.h"
#include "tests/support/LinkAccess.h"

using namespace tallyx;
using namespace tallyx::test;

namespace {

// The link connected to a pseudo-terminal printer at the given baud text.
struct PtyLink {
    explicit PtyLink(const char* baud)
    {
        host.port = printer.Path();
        host.baud = baud;
    }
    termios Settings() const
    {
        termios tio{};
        EXPECT_EQ(::tcgetattr(printer.Slave(), &tio), 0);
        return tio;
    }

    PtyPrinter printer;
    FakeHost host;
    PosixPlatform platform;
    HostedLink link{host, platform};
};

} // namespace

TEST(SerialPort, ComNamesMapToTtySAndOtherTextsStayPaths)
{
    const std::pair<std::string, std::string> rows[] = {
        {"COM1", "/dev/ttyS0"}, {"COM4", "/dev/ttyS3"}, {"COM9", "/dev/ttyS8"},
        {"COM0", "COM0"}, {"com1", "com1"}, {"COM1x", "COM1x"}, {"/dev/ttyUSB0", "/dev/ttyUSB0"},
    };
    for (const auto& [text, path] : rows) {
        SCOPED_TRACE(text);
        EXPECT_EQ(SerialDevicePath(text), path);
    }
}

TEST(SerialPort, CommandsArriveIntactAcrossTheReopens)
{
    PtyLink pty("12345");
    auto& [printer, host, platform, link] = pty;
    ASSERT_TRUE(link.Connect().connected);
    EXPECT_TRUE(host.messages.empty());

    const termios tio = pty.Settings();
    EXPECT_EQ(::cfgetospeed(&tio), B9600) << "an unknown baud text configures 9600";
    EXPECT_EQ(tio.c_cflag & CSIZE, tcflag_t(CS8));
    EXPECT_EQ(tio.c_cflag & (PARENB | CSTOPB | CRTSCTS), 0u);

    link.SendToPrinter(Bytes{0x1F, 0x11, 0x04});
    link.SendToPrinter(Bytes{0x1B, 0x40, 0x0A});
    EXPECT_EQ(Hex(printer.Read(6)), "1F 11 04 1B 40 0A");
    EXPECT_TRUE(host.messages.empty());
}

TEST(SerialPort, LargeWriteIsHandedOverWhole)
{
    PtyLink pty("115200");
    auto& [printer, host, platform, link] = pty;
    ASSERT_TRUE(link.Connect().connected);
    const termios tio = pty.Settings();
    EXPECT_EQ(::cfgetospeed(&tio), B115200);

    Bytes big(20 * 1024);
    for (size_t i = 0; i < big.size(); ++i) big[i] = uint8_t(i * 7 + i / 256);
    std::string got;
    std::thread reader([&, &device = printer] { got = device.Read(big.size()); });
    link.SendToPrinter(big);
    reader.join();
    ASSERT_EQ(got.size(), big.size());
    EXPECT_TRUE(std::equal(big.begin(), big.end(), reinterpret_cast<const uint8_t*>(got.data())));
}

TEST(SerialPort, UnknownDeviceTextIsBusyOrDamaged)
{
    FakeHost host;
    host.port = "usb";
    PosixPlatform platform;
    HostedLink link(host, platform);
    EXPECT_FALSE(link.Connect().connected);
    EXPECT_EQ(host.messages, (std::vector<std::string>{"警告|此端口被占用或已损坏|0"}));
    EXPECT_TRUE(LinkTestAccess::Port(link).IsNone());
}

TEST(SerialPort, PortHeldByAnotherProgramIsBusy)
{
    PtyPrinter printer;
    const OpenResult first = OpenSerialDevice(printer.Path());
    ASSERT_TRUE(first.ok());
    const OpenResult second = OpenSerialDevice(printer.Path());
    EXPECT_FALSE(second.ok());
    DrainAndClose(first.fd, WriteBound{});
    const OpenResult third = OpenSerialDevice(printer.Path());
    EXPECT_TRUE(third.ok());
    DrainAndClose(third.fd, WriteBound{});
}
