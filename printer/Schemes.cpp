// PAPPL's device URI schemes socket, serial and usb, on tallyx's own transports: the
// printer's status questions are read back on the same link the job goes out on.
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <string>

#include "printer/DeviceLink.h"
#include "printer/Drivers.h"

namespace tallyx::printer {

namespace {

DeviceLink* LinkOf(pappl_device_t* device)
{
    return static_cast<DeviceLink*>(papplDeviceGetData(device));
}

bool Open(pappl_device_t* device, const char* uri, const char*)
{
    const auto parsed = ParseDeviceUri(uri ? uri : "");
    if (!parsed) {
        papplDeviceError(device, "Not a device URI tallyx-printer opens: \"%s\".", uri ? uri : "");
        return false;
    }
    Outcome why;
    std::unique_ptr<DeviceLink> link = DeviceLink::Open(*parsed, why);
    if (!link) {
        papplDeviceError(device, "Unable to open \"%s\": %s", uri, std::strerror(why.error));
        return false;
    }
    papplDeviceSetData(device, link.release());
    return true;
}

void Close(pappl_device_t* device)
{
    delete LinkOf(device);
    papplDeviceSetData(device, nullptr);
}

ssize_t Read(pappl_device_t* device, void* buffer, size_t bytes)
{
    DeviceLink* link = LinkOf(device);
    if (!link) return -1;
    return ssize_t(link->Read(static_cast<uint8_t*>(buffer), bytes, kReplyBoundMs));
}

ssize_t Write(pappl_device_t* device, const void* buffer, size_t bytes)
{
    DeviceLink* link = LinkOf(device);
    if (!link) return -1;
    const Outcome outcome = link->Write({static_cast<const uint8_t*>(buffer), bytes});
    if (!outcome) {
        papplDeviceError(device, "The printer took no more bytes: %s", std::strerror(outcome.error));
        errno = outcome.error;
        return -1;
    }
    return ssize_t(bytes);
}

// usblp's printers, as usb:///dev/usb/lpN with the device ID each answered at plug-in.
bool ListUsb(pappl_device_cb_t cb, void* data, pappl_deverror_cb_t, void*)
{
    DIR* dir = ::opendir("/dev/usb");
    if (!dir) return false;
    bool stop = false;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string node = entry->d_name;
        if (node.rfind("lp", 0) != 0) continue;
        const std::string path = "/dev/usb/" + node;
        const std::string id = UsbDeviceId(path);
        const std::string uri = "usb://" + path;
        const Driver* driver = MatchDeviceId(id);
        const std::string info = driver ? "tallyx " + std::string(driver->name) + " (" + node + ")" : "USB printer " + node;
        if ((stop = cb(info.c_str(), uri.c_str(), id.c_str(), data))) break;
    }
    ::closedir(dir);
    return stop;
}

} // namespace

void AddDeviceSchemes()
{
    papplDeviceAddScheme("socket", PAPPL_DEVTYPE_SOCKET, nullptr, Open, Close, Read, Write, nullptr, nullptr);
    papplDeviceAddScheme("serial", PAPPL_DEVTYPE_CUSTOM_LOCAL, nullptr, Open, Close, Read, Write, nullptr, nullptr);
    papplDeviceAddScheme("usb", PAPPL_DEVTYPE_USB, ListUsb, Open, Close, Read, Write, nullptr, nullptr);
}

} // namespace tallyx::printer
