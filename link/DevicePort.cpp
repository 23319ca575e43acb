#include "link/DevicePort.h"

#include "link/QueryRule.h"

namespace tallyx {

ConnectOutcome DevicePort::Connect(const NetQuery&, std::stop_token)
{
    const Outcome opened = ReopenPort();
    return ConnectOutcome{opened.ok(), opened, {}};
}

void DevicePort::CloseHandle()
{
    // A failed USB open holds no device: clearing it is the whole close.
    if (g_hPort.IsOpen()) m_platform.Close(g_hPort.fd, m_writeBound);
    g_hPort = PortHandle{};
}

void DevicePort::FinishOpen()
{
    if (g_hPort.IsOpen()) m_platform.Purge(g_hPort.fd);
}

Outcome DevicePort::WriteToPort(std::span<const uint8_t> bytes)
{
    // With no device open the write goes nowhere: the window stays silent, the log says so.
    if (!g_hPort.IsOpen()) return Told(LinkFault::NotWritten);
    if (m_platform.Write(g_hPort.fd, bytes.data(), bytes.size(), m_writeBound) < bytes.size())
        return Told(LinkFault::WriteTimeout);
    return {};
}

std::vector<QueryAnswer> DevicePort::Query(const std::vector<QueryStep>& steps, int boundMs, std::stop_token stop)
{
    // The port stays open from the first question to the last answer: a reopen would drop
    // what the printer sends back.
    if (!g_hPort.IsOpen()) return FailAll(steps, Outcome{LinkFault::NotWritten});
    const int fd = g_hPort.fd;
    m_platform.Purge(fd);   // an answer left from before is not this question's
    return RunSteps(
        m_platform, steps, boundMs, stop,
        [&](const QueryStep& step) {
            if (m_platform.Write(fd, step.request.data(), step.request.size(), m_writeBound) < step.request.size())
                return Outcome{LinkFault::WriteTimeout};
            return Outcome{};
        },
        [&](uint8_t* data, size_t capacity, int timeoutMs) { return m_platform.Read(fd, data, capacity, timeoutMs, stop); });
}

} // namespace tallyx
