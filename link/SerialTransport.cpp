#include "link/SerialTransport.h"

namespace tallyx {

Outcome SerialTransport::ReopenPort()
{
    CloseHandle();
    const OpenResult opened = m_platform.OpenSerial(m_path);
    if (!opened.ok()) return Told(LinkFault::PortBusy, opened.error);
    g_hPort = PortHandle{PortHandle::State::Open, opened.fd};
    m_platform.ConfigureSerial(opened.fd, m_baudRate);
    FinishOpen();
    return {};
}

Outcome SerialTransport::Deliver(std::span<const uint8_t> bytes, std::stop_token)
{
    // Reopening twice after the write is what makes these printers take the next
    // command reliably.
    const Outcome written = WriteToPort(bytes);
    const Outcome first = ReopenPort();
    const Outcome second = ReopenPort();
    return !written ? written : !first ? first : second;
}

} // namespace tallyx
