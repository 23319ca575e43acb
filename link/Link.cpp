#include "link/Link.h"

#include <cstring>

#include "res/Address.h"
#include "res/Combos.h"

namespace tallyx {

namespace {
constexpr std::string_view kPortUsb = combo::kPorts[combo::kPortUsbIndex].item;
constexpr std::string_view kPortEthernet = combo::kPorts[combo::kPortEthernetIndex].item;
} // namespace

uint32_t BaudFromText(const std::string& text)
{
    // Only an item of the baud list counts; its text is the rate.
    for (const Choice& c : combo::kBauds)
        if (text == c.item) return uint32_t(std::stoul(std::string(c.item)));
    return 9600;
}

Link::Link(LinkHost& host, Platform& platform) : m_host(host), m_platform(platform) {}

void Link::ResetState()
{
    std::lock_guard lock(m_lock);
    g_connected = 0;
    g_linkKind = LinkKind::None;
}

void Link::SetTcpPort(uint16_t port)
{
    std::lock_guard lock(m_lock);
    m_tcpPort = port;
}

uint16_t Link::TcpPort()
{
    std::lock_guard lock(m_lock);
    return m_tcpPort;
}

std::string Link::PrinterIp()
{
    std::lock_guard lock(m_lock);
    return g_printerIp;
}

PortHandle Link::PortState()
{
    std::lock_guard lock(m_lock);
    return g_hPort;
}

FixedTarget Link::CaptureTarget(const std::string& portText, const std::string& baudText)
{
    std::lock_guard lock(m_lock);
    return FixedTarget{portText, baudText, g_printerIp, m_tcpPort, m_epoch};
}

Outcome Link::Report(LinkFault fault, int error)
{
    const Outcome outcome{fault, error};
    if (!m_quiet) m_host.ReportFault(outcome);
    return outcome;
}

void Link::CloseHandle()
{
    // A failed USB open holds no device: clearing it is the whole close.
    if (g_hPort.IsOpen()) m_platform.Close(g_hPort.fd, m_writeBound);
    g_hPort = PortHandle{};
}

Outcome Link::ReopenPort()
{
    std::lock_guard lock(m_lock);
    return ReopenPort(m_host.PortText(), m_host.BaudText());
}

Outcome Link::ReopenPort(const std::string& portText, const std::string& baudText)
{
    std::lock_guard lock(m_lock);
    CloseHandle();
    Outcome outcome;
    if (portText == kPortUsb) outcome = OpenUsb();
    else if (portText != kPortEthernet) outcome = OpenSerial(portText, baudText);
    if (outcome.ok()) FinishOpen();
    return outcome;
}

Outcome Link::OpenUsb()
{
    const UsbDiscovery found = m_platform.DiscoverUsb();
    if (found.result == UsbFind::NoInterface) return Report(LinkFault::NoUsbDevice);
    // The other ends of the search stop without a word to the operator.
    if (found.result != UsbFind::Found) return Outcome{LinkFault::UsbNotOpened};
    // The open is not tested here: a failure waits for the next command to report it.
    g_hPort = PortHandle{PortHandle::State::Failed, -1};
    m_usbPath = found.path;
    const OpenResult opened = m_platform.OpenUsb(found.path);
    if (opened.ok()) g_hPort = PortHandle{PortHandle::State::Open, opened.fd};
    g_linkKind = LinkKind::Usb;
    return {};
}

Outcome Link::OpenSerial(const std::string& portText, const std::string& baudText)
{
    const OpenResult opened = m_platform.OpenSerial(portText);
    if (!opened.ok()) {
        g_hPort = PortHandle{};
        return Report(LinkFault::PortBusy, opened.error);
    }
    g_hPort = PortHandle{PortHandle::State::Open, opened.fd};
    m_baudRate = BaudFromText(baudText);
    m_platform.ConfigureSerial(opened.fd, m_baudRate);
    g_linkKind = LinkKind::Serial;
    return {};
}

void Link::FinishOpen()
{
    if (g_hPort.IsOpen()) m_platform.Purge(g_hPort.fd);
    g_connected = 1;
}

Outcome Link::CheckPortHandle()
{
    std::lock_guard lock(m_lock);
    if (!g_hPort.IsFailed()) return {};
    g_hPort = PortHandle{};
    return Report(LinkFault::UsbOpenFailed);
}

Outcome Link::WriteToPort(const uint8_t* data, size_t n)
{
    // With no device open the write goes nowhere: the window stays silent, the log says so.
    if (!g_hPort.IsOpen()) return Report(LinkFault::NotWritten);
    if (m_platform.Write(g_hPort.fd, data, n, m_writeBound) < n) return Report(LinkFault::WriteTimeout);
    return {};
}

Outcome Link::Deliver(const std::string& portText, const uint8_t* data, size_t n, Delivery form,
                      std::stop_token stop)
{
    std::lock_guard lock(m_lock);
    if (portText == kPortEthernet) {
        if (!FillNetBuf(data, n)) return {};
        if (form == Delivery::Posted) {
            m_host.PostSendTrigger(1);
            return {};
        }
        return SendPendingNetData(stop);
    }
    return ReopenTwiceAroundWrite(portText, m_host.BaudText(), data, n);
}

Outcome Link::ReopenTwiceAroundWrite(const std::string& portText, const std::string& baudText,
                                     const uint8_t* data, size_t n)
{
    // Reopening twice is what makes these printers take the next command reliably:
    // USB before the write, serial after it. The port kind is the caller's, read once;
    // the reopens read the current texts, as the window's own reopen does.
    const auto reopen = [&] { return m_quiet ? ReopenPort(portText, baudText) : ReopenPort(); };
    if (portText == kPortUsb) {
        const Outcome first = reopen();
        const Outcome second = reopen();
        const Outcome written = WriteToPort(data, n);
        return Logged(LinkKind::Usb, m_usbPath, data, n, !first ? first : !second ? second : written);
    }
    const Outcome written = WriteToPort(data, n);
    const Outcome first = reopen();
    const Outcome second = reopen();
    return Logged(LinkKind::Serial, portText, data, n, !written ? written : !first ? first : second);
}

Outcome Link::DeliverFixed(const FixedTarget& target, const uint8_t* data, size_t n, std::stop_token stop,
                           int netRetryLimitMs)
{
    std::unique_lock lock(m_lock);
    if (target.epoch != m_epoch) {
        // A disconnect came after the capture: the port stays closed.
        const Outcome disconnected{LinkFault::Disconnected};
        if (target.portText == kPortEthernet)
            return LoggedNet(ParseAddressText(target.printerIp).value_or(AddressEntry{}), target.tcpPort, data, n,
                             disconnected);
        if (target.portText == kPortUsb) return Logged(LinkKind::Usb, m_usbPath, data, n, disconnected);
        return Logged(LinkKind::Serial, target.portText, data, n, disconnected);
    }
    if (target.portText == kPortEthernet) {
        // The network cycle shares nothing with the window but the log: its connection
        // and its retry wait run without the lock.
        lock.unlock();
        const auto address = ParseDottedAddress(target.printerIp);
        const AddressEntry entry = ParseAddressText(target.printerIp).value_or(AddressEntry{});
        const Outcome sent = address ? SendOverTcp(*address, target.tcpPort, data, n, netRetryLimitMs, stop)
                                     : Outcome{LinkFault::AddressBlank};
        lock.lock();
        return LoggedNet(entry, target.tcpPort, data, n, sent);
    }
    m_quiet = true;
    const Outcome outcome = ReopenTwiceAroundWrite(target.portText, target.baudText, data, n);
    m_quiet = false;
    return outcome;
}

bool Link::FillNetBuf(const uint8_t* data, size_t n)
{
    // Callers keep commands within the buffer; a longer one must not overrun it.
    if (n > kNetBufSize - 1) return false;
    if (n) std::memcpy(g_netBuf.data(), data, n);
    g_netBuf[n] = 0;
    g_netLen = int(n);
    return true;
}

Outcome Link::DeliverRepeated(const std::string& portText, const uint8_t* data, size_t n, uint32_t count,
                              Delivery form, std::stop_token stop)
{
    std::lock_guard lock(m_lock);
    if (count == 0) return {};
    if (portText == kPortEthernet && form == Delivery::Posted) {
        // Every repetition would refill the buffer with the same bytes: fill it once.
        if (FillNetBuf(data, n)) m_host.PostSendTrigger(count);
        return {};
    }
    for (uint32_t i = 0; i < count; ++i) {
        if (stop.stop_requested()) return Outcome{LinkFault::Stopped};
        if (const Outcome outcome = Deliver(portText, data, n, form, stop); !outcome) return outcome;
    }
    return {};
}

Outcome Link::SendToPrinter(const Bytes& bytes, Delivery form)
{
    if (const Outcome checked = CheckPortHandle(); !checked)
        return Logged(LinkKind::Usb, m_usbPath, bytes.data(), bytes.size(), checked);
    return Deliver(m_host.PortText(), bytes.data(), bytes.size(), form);
}

ConnectOutcome Link::Connect(const NetQuery& netQuery, std::stop_token stop)
{
    std::lock_guard lock(m_lock);
    const std::string portText = m_host.PortText();
    const std::string baudText = m_host.BaudText();
    CloseHandle();
    ConnectOutcome result;
    if (portText == kPortUsb) {
        result.outcome = OpenUsb();
    } else if (portText == kPortEthernet) {
        result = ConnectNetwork(netQuery, stop);
        if (!result.connected) return result;
    } else {
        result.outcome = OpenSerial(portText, baudText);
    }
    if (!result.connected && !result.outcome.ok()) return result;
    FinishOpen();
    result.connected = true;
    return result;
}

void Link::Disconnect()
{
    std::lock_guard lock(m_lock);
    g_connected = 0;
    ++m_epoch;
    CloseHandle();
}

} // namespace tallyx
