#include "link/UsbPrinter.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <dirent.h>
#include <fstream>
#include <vector>

namespace tallyx {

namespace {

constexpr size_t kMaxDevicePath = 255;

bool ReadFirstLine(const std::string& path, std::string& out)
{
    std::ifstream in(path);
    if (!in || !std::getline(in, out)) return false;
    while (!out.empty() && (out.back() == '\n' || out.back() == ' ')) out.pop_back();
    return !out.empty();
}

// "lp12" -> 12; anything else -> -1
int LpNumber(const std::string& name)
{
    if (name.size() < 3 || name.compare(0, 2, "lp") != 0) return -1;
    int n = 0;
    for (size_t i = 2; i < name.size(); ++i) {
        if (name[i] < '0' || name[i] > '9' || n > 100000) return -1;
        n = n * 10 + (name[i] - '0');
    }
    return n;
}

} // namespace

UsbPrinterFinder::UsbPrinterFinder(std::string sysRoot, std::string devRoot)
    : m_sysRoot(std::move(sysRoot)), m_devRoot(std::move(devRoot))
{
}

UsbDiscovery UsbPrinterFinder::Find() const
{
    const std::string classDir = m_sysRoot + "/class/usbmisc";
    DIR* dir = ::opendir(classDir.c_str());
    if (!dir) {
        // No usbmisc class at all means no printer was ever attached.
        return {errno == ENOENT ? UsbFind::NoInterface : UsbFind::NoDeviceSet, {}, {}};
    }
    std::vector<std::pair<int, std::string>> nodes;
    while (const dirent* entry = ::readdir(dir)) {
        const int n = LpNumber(entry->d_name);
        if (n >= 0) nodes.emplace_back(n, entry->d_name);
    }
    ::closedir(dir);
    std::sort(nodes.begin(), nodes.end());

    for (const auto& [number, name] : nodes) {
        char resolved[PATH_MAX];
        const std::string link = classDir + "/" + name + "/device";
        if (!::realpath(link.c_str(), resolved)) continue;
        const std::string interfaceDir = resolved;
        std::string cls;
        if (!ReadFirstLine(interfaceDir + "/bInterfaceClass", cls) || std::strtol(cls.c_str(), nullptr, 16) != 7)
            continue;

        // Only the first printer interface is ever used.
        UsbDiscovery found;
        found.path = m_devRoot + "/usb/" + name;
        if (found.path.size() > kMaxDevicePath) return {UsbFind::NoDetail, {}, {}};
        const std::string deviceDir = interfaceDir.substr(0, interfaceDir.rfind('/'));
        std::string vendor, product;
        if (!ReadFirstLine(deviceDir + "/idVendor", vendor) || !ReadFirstLine(deviceDir + "/idProduct", product))
            return {UsbFind::NoHardwareId, {}, {}};
        found.hardwareId = "USB\\VID_" + vendor + "&PID_" + product;
        found.result = UsbFind::Found;
        return found;
    }
    return {UsbFind::NoInterface, {}, {}};
}

} // namespace tallyx
