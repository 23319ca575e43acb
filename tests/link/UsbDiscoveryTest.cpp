// USB printer discovery on a fake sysfs tree, and a write through a FIFO device node.
#include <gtest/gtest.h>

#include <filesystem>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "link/PosixPlatform.h"
#include "tests/support/FakeUsbTree.h"
#include "tests/support/RecordingPlatform.h"
#include "tests/support/LinkAccess.h"

using namespace tallyx;
using namespace tallyx::test;
namespace fs = std::filesystem;

TEST(UsbDiscovery, NoPrinterInterface)
{
    FakeUsbTree sys;
    sys.AddNode("lp0", "03");   // a usbmisc node that is not a printer
    EXPECT_EQ(sys.Finder().Find().result, UsbFind::NoInterface);

    fs::remove_all(sys.root + "/sys/class");
    EXPECT_EQ(sys.Finder().Find().result, UsbFind::NoInterface) << "no usbmisc class means no printer";
}

TEST(UsbDiscovery, FirstPrinterInNumberOrderWins)
{
    FakeUsbTree sys;
    sys.AddNode("lp10", "07", "1111", "2222");
    sys.AddNode("lp2", "07", "0483", "5720");
    const UsbDiscovery found = sys.Finder().Find();
    ASSERT_EQ(found.result, UsbFind::Found);
    EXPECT_EQ(found.path, sys.root + "/dev/usb/lp2");
    EXPECT_EQ(found.hardwareId, "USB\\VID_0483&PID_5720");
}

TEST(UsbDiscovery, UnreadableHardwareIdStopsDiscovery)
{
    FakeUsbTree sys;
    sys.AddNode("lp0", "07", "0483", "");
    sys.AddNode("lp1", "07");
    EXPECT_EQ(sys.Finder().Find().result, UsbFind::NoHardwareId) << "only the first interface is ever used";
}

TEST(UsbDiscovery, ConnectMessagesAndWritesThroughTheDeviceNode)
{
    FakeUsbTree sys;
    FakeHost host;
    host.port = "USB";
    {
        PosixPlatform platform(sys.Finder());
        HostedLink link(host, platform);
        EXPECT_FALSE(link.Connect().connected);
        EXPECT_EQ(host.messages, (std::vector<std::string>{"打印机设置工具|无法找到USB设备|0"}));
    }

    sys.AddNode("lp0", "07");
    const std::string node = sys.root + "/dev/usb/lp0";
    ASSERT_EQ(::mkfifo(node.c_str(), 0600), 0);
    const int reader = ::open(node.c_str(), O_RDONLY | O_NONBLOCK);
    PosixPlatform platform(sys.Finder());
    HostedLink link(host, platform);
    ASSERT_TRUE(link.Connect().connected);
    EXPECT_EQ(link.Kind(), LinkKind::Usb);
    link.SendToPrinter(Bytes{0x1B, 0x40, 0x0A});
    char buf[16] = {};
    const ssize_t n = ::read(reader, buf, sizeof buf);
    EXPECT_EQ(Hex(std::string_view(buf, n > 0 ? size_t(n) : 0)), "1B 40 0A");
    ::close(reader);
}

TEST(UsbDiscovery, MissingDeviceNodeFailsOnTheFirstCommand)
{
    FakeUsbTree sys;
    sys.AddNode("lp0", "07");
    FakeHost host;
    host.port = "USB";
    PosixPlatform platform(sys.Finder());
    HostedLink link(host, platform);
    ASSERT_TRUE(link.Connect().connected) << "a found path connects even when it cannot be opened";
    EXPECT_TRUE(LinkTestAccess::Port(link).IsFailed());
    EXPECT_TRUE(fs::is_empty(sys.root + "/dev/usb")) << "the open never creates a node";
    link.SendToPrinter(Bytes{0x0A});
    EXPECT_EQ(host.messages, (std::vector<std::string>{"tallyx|此端口被占用或已损坏|0"}));
}
