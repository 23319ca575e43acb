#include "link/UsbTransport.h"

namespace tallyx {

Outcome UsbTransport::ReopenPort()
{
    CloseHandle();
    m_openFailed = false;
    const UsbDiscovery found = m_platform.DiscoverUsb();
    if (found.result == UsbFind::NoInterface) return Told(LinkFault::NoUsbDevice);
    // The other ends of the search stop without a word to the operator.
    if (found.result != UsbFind::Found) return Outcome{LinkFault::UsbNotOpened};
    // The open is not tested here: a failure waits for the next command to report it.
    g_hPort = PortHandle{PortHandle::State::Failed, -1};
    m_usbPath = found.path;
    const OpenResult opened = m_platform.OpenUsb(found.path);
    if (opened.ok()) g_hPort = PortHandle{PortHandle::State::Open, opened.fd};
    else m_openFailed = true;
    FinishOpen();
    return {};
}

bool UsbTransport::TakeOpenFailure()
{
    // The handle stays marked failed until the next reopen: it holds no device either way.
    return m_openFailed.exchange(false);
}

PortHandle UsbTransport::Handle() const
{
    return g_hPort.IsFailed() && !m_openFailed ? PortHandle{} : g_hPort;
}

Outcome UsbTransport::Deliver(std::span<const uint8_t> bytes, std::stop_token)
{
    const Outcome first = ReopenPort();
    const Outcome second = ReopenPort();
    const Outcome written = WriteToPort(bytes);
    return !first ? first : !second ? second : written;
}

} // namespace tallyx
