#include "link/Link.h"

#include <cstring>

#include "res/Messages.h"

namespace tallyx {

namespace {
constexpr std::string_view kPortUsb = "USB";
constexpr std::string_view kPortEthernet = "Ethernet";
constexpr uint32_t kTimeoutMs = 65535;
} // namespace

uint32_t BaudFromText(const std::string& text)
{
    static constexpr struct { std::string_view text; uint32_t baud; } kRates[] = {
        {"4800", 4800}, {"9600", 9600}, {"19200", 19200},
        {"38400", 38400}, {"57600", 57600}, {"115200", 115200},
    };
    for (const auto& rate : kRates)
        if (text == rate.text) return rate.baud;
    return 9600;
}

Link::Link(LinkHost& host, Platform& platform) : m_host(host), m_platform(platform) {}

void Link::CloseHandle()
{
    // A failed USB open holds no device: clearing it is the whole close.
    if (g_hPort.IsOpen()) m_platform.Close(g_hPort.fd);
    g_hPort = PortHandle{};
}

void Link::ReopenPort()
{
    std::lock_guard lock(m_lock);
    const std::string portText = m_host.PortText();
    const std::string baudText = m_host.BaudText();
    CloseHandle();
    if (portText == kPortUsb) {
        if (!OpenUsb()) return;
    } else if (portText != kPortEthernet) {
        if (!OpenSerial(portText, baudText)) return;
    }
    FinishOpen();
}

bool Link::OpenUsb()
{
    const UsbDiscovery found = m_platform.DiscoverUsb();
    if (found.result == UsbFind::NoInterface) m_host.ShowMessage({kCaptionTool, kMsgNoUsbDevice});
    if (found.result != UsbFind::Found) return false;
    // The open is not tested here: a failure waits for the next command to report it.
    g_hPort = PortHandle{PortHandle::State::Failed, -1};
    const OpenResult opened = m_platform.OpenUsb(found.path);
    if (opened.ok()) g_hPort = PortHandle{PortHandle::State::Open, opened.fd};
    g_linkKind = LinkKind::Usb;
    return true;
}

bool Link::OpenSerial(const std::string& portText, const std::string& baudText)
{
    const OpenResult opened = m_platform.OpenSerial(portText);
    if (!opened.ok()) {
        m_host.ShowMessage({kCaptionWarning, kMsgPortBusy});
        g_hPort = PortHandle{};
        return false;
    }
    g_hPort = PortHandle{PortHandle::State::Open, opened.fd};
    g_dcb = SerialSettings{};
    g_dcb.baudRate = BaudFromText(baudText);
    m_platform.ConfigureSerial(opened.fd, g_dcb);
    g_linkKind = LinkKind::Serial;
    return true;
}

void Link::FinishOpen()
{
    g_timeouts = Timeouts{kTimeoutMs, kTimeoutMs, kTimeoutMs, kTimeoutMs, kTimeoutMs};
    if (g_hPort.IsOpen()) {
        m_platform.ApplyTimeouts(g_hPort.fd, g_timeouts);
        m_platform.Purge(g_hPort.fd);
    }
    g_connected = 1;
}

bool Link::CheckPortHandle()
{
    std::lock_guard lock(m_lock);
    if (!g_hPort.IsFailed()) return true;
    m_host.ShowMessage({kCaptionApp, kMsgPortBusy});
    g_hPort = PortHandle{};
    return false;
}

void Link::WriteToPort(const uint8_t* data, size_t n)
{
    // With no device open the write goes nowhere, as a write on a closed handle would.
    if (g_hPort.IsOpen()) m_platform.Write(g_hPort.fd, data, n);
}

void Link::Deliver(const std::string& portText, const uint8_t* data, size_t n, Delivery form)
{
    std::lock_guard lock(m_lock);
    if (portText == kPortEthernet) {
        // Callers keep commands within the buffer; a longer one must not overrun it.
        if (n > kNetBufSize - 1) return;
        if (n) std::memcpy(g_netBuf.data(), data, n);
        g_netBuf[n] = 0;
        g_netLen = int(n);
        if (form == Delivery::Posted) m_host.PostSendTrigger();
        else SendPendingNetData();
        return;
    }
    if (portText == kPortUsb) {
        ReopenPort();
        ReopenPort();
        WriteToPort(data, n);
        return;
    }
    WriteToPort(data, n);
    ReopenPort();
    ReopenPort();
}

void Link::SendToPrinter(const Bytes& bytes, Delivery form)
{
    if (!CheckPortHandle()) return;
    Deliver(m_host.PortText(), bytes.data(), bytes.size(), form);
}

ConnectOutcome Link::Connect()
{
    std::lock_guard lock(m_lock);
    const std::string portText = m_host.PortText();
    const std::string baudText = m_host.BaudText();
    CloseHandle();
    ConnectOutcome outcome;
    if (portText == kPortUsb) {
        if (!OpenUsb()) return outcome;
    } else if (portText == kPortEthernet) {
        outcome = ConnectNetwork();
        if (!outcome.connected) return outcome;
    } else if (!OpenSerial(portText, baudText)) {
        return outcome;
    }
    FinishOpen();
    outcome.connected = true;
    return outcome;
}

void Link::Disconnect()
{
    std::lock_guard lock(m_lock);
    g_connected = 0;
    CloseHandle();
}

} // namespace tallyx
