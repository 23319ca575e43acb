#pragma once
// The first USB printer-class device: the port is reopened twice before each command.
#include <atomic>

#include "link/DevicePort.h"

namespace tallyx {

class UsbTransport : public DevicePort {
public:
    UsbTransport(Platform& platform, WriteBound bound = {}) : DevicePort(platform, bound) {}
    LinkKind Kind() const override { return LinkKind::Usb; }
    std::string Describe() const override { return m_usbPath; }
    Outcome Deliver(std::span<const uint8_t> bytes, std::stop_token stop) override;
    Outcome ReopenPort() override;
    bool TakeOpenFailure() override;
    // A failure already told holds no device: none.
    PortHandle Handle() const override;

private:
    std::string m_usbPath;   // the device node as last discovered ("" before)
    // Set by an open that failed, taken by the window's check without the device's lock.
    std::atomic<bool> m_openFailed{false};
};

} // namespace tallyx
