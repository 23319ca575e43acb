#pragma once
// A sysfs and /dev of the test's own for USB printer discovery: empty at first, so no real
// printer is ever reached, with printer nodes added on demand.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "link/PosixPlatform.h"

namespace tallyx::test {

class FakeUsbTree {
public:
    FakeUsbTree()
    {
        char pattern[] = "/tmp/tallyx-usb-XXXXXX";
        root = ::mkdtemp(pattern);
        std::filesystem::create_directories(root + "/sys/class/usbmisc");
        std::filesystem::create_directories(root + "/dev/usb");
    }
    ~FakeUsbTree() { std::filesystem::remove_all(root); }
    FakeUsbTree(const FakeUsbTree&) = delete;
    FakeUsbTree& operator=(const FakeUsbTree&) = delete;

    // An lpN node whose interface has class `cls` on a device with the given ids.
    void AddNode(const std::string& lp, const std::string& cls, const std::string& vendor = "0483",
                 const std::string& product = "5720")
    {
        namespace fs = std::filesystem;
        const std::string device = root + "/sys/devices/usb1/" + lp + "-dev";
        const std::string iface = device + "/" + lp + "-dev:1.0";
        fs::create_directories(iface);
        Write(iface + "/bInterfaceClass", cls);
        if (!vendor.empty()) Write(device + "/idVendor", vendor);
        if (!product.empty()) Write(device + "/idProduct", product);
        fs::create_directories(root + "/sys/class/usbmisc/" + lp);
        fs::create_directory_symlink(iface, root + "/sys/class/usbmisc/" + lp + "/device");
    }
    UsbPrinterFinder Finder() const { return UsbPrinterFinder(root + "/sys", root + "/dev"); }

    std::string root;

private:
    static void Write(const std::string& path, const std::string& text) { std::ofstream(path) << text << "\n"; }
};

} // namespace tallyx::test
