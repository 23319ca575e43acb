#pragma once
// A serial printer: each command is written, then the port is reopened twice.
#include "link/DevicePort.h"

namespace tallyx {

class SerialTransport : public DevicePort {
public:
    SerialTransport(Platform& platform, std::string path, uint32_t baud, WriteBound bound = {})
        : DevicePort(platform, bound), m_path(std::move(path)), m_baudRate(baud)
    {
    }
    LinkKind Kind() const override { return LinkKind::Serial; }
    std::string Describe() const override { return m_path; }
    Outcome Deliver(std::span<const uint8_t> bytes, std::stop_token stop) override;
    Outcome ReopenPort() override;
    uint32_t BaudRate() const { return m_baudRate; }

private:
    std::string m_path;
    uint32_t m_baudRate;
};

} // namespace tallyx
