#include "link/Link.h"

#include "link/SendLog.h"
#include "link/SerialTransport.h"
#include "link/UsbTransport.h"

namespace tallyx {

Link::Link(Platform& platform) : m_platform(platform) {}

Link::~Link() = default;

void Link::SetTell(Tell tell)
{
    std::lock_guard lock(m_lock);
    m_tell = std::move(tell);
    if (const std::shared_ptr<Transport> transport = CurrentTransport()) transport->SetTell(m_tell);
}

void Link::ResetState()
{
    g_connected = 0;
    g_linkKind = LinkKind::None;
}

std::shared_ptr<Transport> Link::CurrentTransport()
{
    std::lock_guard lock(m_transportMutex);
    return m_transport;
}

void Link::Install(std::shared_ptr<Transport> transport)
{
    std::lock_guard lock(m_lock);
    if (transport) transport->SetTell(m_tell);
    std::shared_ptr<Transport> old;
    {
        std::lock_guard swap(m_transportMutex);
        old = std::exchange(m_transport, std::move(transport));
    }
    if (old) old->Close();
}

namespace {
std::unique_ptr<Transport> MakeTransport(Platform& platform, const Target& target, WriteBound bound, int retryLimitMs)
{
    switch (target.kind) {
    case LinkKind::Serial: return std::make_unique<SerialTransport>(platform, target.path, target.baud, bound);
    case LinkKind::Usb: return std::make_unique<UsbTransport>(platform, bound);
    case LinkKind::Network: {
        auto net = std::make_unique<NetworkTransport>(platform, target.address, target.port);
        net->m_sendRetryLimitMs = retryLimitMs;
        return net;
    }
    case LinkKind::None: break;
    }
    return nullptr;
}
} // namespace

ConnectOutcome Link::Connect(const Target& target, const NetQuery& netQuery, std::stop_token stop)
{
    {
        std::lock_guard lock(m_transportMutex);
        m_target = target;
    }
    return Connect(MakeTransport(m_platform, target, m_writeBound, m_sendRetryLimitMs), netQuery, stop);
}

ConnectOutcome Link::Connect(std::unique_ptr<Transport> made, const NetQuery& netQuery, std::stop_token stop)
{
    if (!made) return ConnectOutcome{false, Outcome{LinkFault::NotWritten}, {}};
    std::shared_ptr<Transport> transport = std::move(made);
    // Every open first closes the device before it.
    Install(nullptr);
    ConnectOutcome result;
    {
        std::unique_lock lock(m_lock);
        transport->SetTell(m_tell);
        // The network check's waits hold no lock.
        if (transport->Kind() == LinkKind::Network) lock.unlock();
        result = transport->Connect(netQuery, stop);
    }
    Install(transport);
    if (result.connected) {
        g_linkKind = transport->Kind();
        g_connected = 1;
    }
    return result;
}

void Link::UseTarget(const Target& target)
{
    {
        std::lock_guard lock(m_transportMutex);
        m_target = target;
    }
    Install(MakeTransport(m_platform, target, m_writeBound, m_sendRetryLimitMs));
}

void Link::SetNetworkAddress(AddressEntry address)
{
    const std::shared_ptr<Transport> transport = CurrentTransport();
    auto* net = dynamic_cast<NetworkTransport*>(transport.get());
    if (!net) return;
    {
        // The cutter run's delivery describes the transport under this lock.
        std::lock_guard portLock(m_lock);
        net->SetAddress(address);
    }
    std::lock_guard lock(m_transportMutex);
    m_target.address = address;
}

void Link::DropConnected()
{
    ++m_epoch;
    g_connected = 0;
}

void Link::Disconnect()
{
    DropConnected();
    const std::shared_ptr<Transport> transport = CurrentTransport();
    std::lock_guard lock(m_lock);
    if (transport) transport->Close();
}

Outcome Link::CheckPortHandle()
{
    // Without the device's lock: the window's thread checks while the sender may write.
    const std::shared_ptr<Transport> transport = CurrentTransport();
    if (!transport || !transport->TakeOpenFailure()) return {};
    const Outcome failed{LinkFault::UsbOpenFailed};
    if (m_tell) m_tell(failed);
    return failed;
}

Outcome Link::DeliverOnce(Transport& transport, std::span<const uint8_t> bytes, std::stop_token stop)
{
    // The device is the link's one handle: held from the first reopen to the last. A
    // network command's connection is its own and waits without the lock.
    std::unique_lock lock(m_lock, std::defer_lock);
    if (transport.Kind() != LinkKind::Network) lock.lock();
    // Looked at once the device is ours: a disconnect pressed meanwhile writes nothing more.
    if (stop.stop_requested()) return Outcome{LinkFault::Stopped};
    const Outcome outcome = transport.Deliver(bytes, stop);
    // What the last open configured, as the reopens leave it.
    if (auto* device = dynamic_cast<DevicePort*>(&transport); device && !device->Handle().IsNone())
        g_linkKind = transport.Kind();
    return Logged(transport.Kind(), transport.Describe(), bytes, outcome);
}

Outcome Link::Deliver(std::span<const uint8_t> bytes, uint32_t count, std::stop_token stop)
{
    const std::shared_ptr<Transport> transport = CurrentTransport();
    if (!transport) return Logged(LinkKind::None, {}, bytes, Outcome{LinkFault::NotWritten});
    for (uint32_t i = 0; i < count; ++i) {
        if (const Outcome outcome = DeliverOnce(*transport, bytes, stop); !outcome) return outcome;
    }
    return {};
}

Outcome Link::SendToPrinter(std::span<const uint8_t> bytes, std::stop_token stop)
{
    if (const Outcome checked = CheckPortHandle(); !checked) {
        const std::shared_ptr<Transport> transport = CurrentTransport();
        return Logged(LinkKind::Usb, transport ? transport->Describe() : std::string(), bytes, checked);
    }
    return Deliver(bytes, 1, stop);
}

Outcome Link::ReopenPort()
{
    const std::shared_ptr<Transport> transport = CurrentTransport();
    std::lock_guard lock(m_lock);
    if (auto* device = dynamic_cast<DevicePort*>(transport.get())) return device->ReopenPort();
    return {};   // the network holds nothing open
}

Outcome Link::SendPendingNetData(std::stop_token stop)
{
    const std::shared_ptr<Transport> transport = CurrentTransport();
    auto* net = dynamic_cast<NetworkTransport*>(transport.get());
    if (!net) return {};
    return Logged(LinkKind::Network, net->Describe(), net->PendingNetData(), net->SendPendingNetData(stop));
}

Outcome Link::SendOnceOverTcp(std::span<const uint8_t> bytes)
{
    const std::shared_ptr<Transport> transport = CurrentTransport();
    auto* net = dynamic_cast<NetworkTransport*>(transport.get());
    if (!net) return Logged(LinkKind::Network, {}, bytes, Outcome{LinkFault::NotWritten});
    return Logged(LinkKind::Network, net->Describe(), bytes, net->SendOnce(bytes));
}

std::vector<QueryAnswer> Link::Query(const std::vector<QueryStep>& steps, std::stop_token stop)
{
    const std::shared_ptr<Transport> transport = CurrentTransport();
    if (!transport) {
        std::vector<QueryAnswer> answers(steps.size());
        for (QueryAnswer& a : answers) a.outcome = Outcome{LinkFault::NotWritten};
        return answers;
    }
    // The port stays open and locked from the first question to the last answer.
    std::unique_lock lock(m_lock, std::defer_lock);
    if (transport->Kind() != LinkKind::Network) lock.lock();
    return transport->Query(steps, m_replyBoundMs, stop);
}

FixedTarget Link::CaptureTarget()
{
    // Not the device's lock: the window's thread captures while the sender may write.
    std::lock_guard lock(m_transportMutex);
    return FixedTarget{m_target, m_epoch.load()};
}

Outcome Link::DeliverFixed(const FixedTarget& fixed, std::span<const uint8_t> bytes, std::stop_token stop,
                           int netRetryLimitMs)
{
    const Target& target = fixed.target;
    const std::string netTarget =
        target.address.Complete() ? target.address.Dotted() + ":" + std::to_string(target.port) : std::string();
    const std::shared_ptr<Transport> transport = CurrentTransport();
    std::unique_lock lock(m_lock);
    const std::string deviceTarget = transport ? transport->Describe() : target.path;
    if (fixed.epoch != m_epoch.load())   // a disconnect came after the capture: the port stays closed
        return Logged(target.kind, target.kind == LinkKind::Network ? netTarget : deviceTarget, bytes,
                      Outcome{LinkFault::Disconnected});
    if (target.kind == LinkKind::Network) {
        // The network cycle shares nothing with the sender but the log.
        lock.unlock();
        const Outcome sent = target.address.Complete()
                                 ? SendOverTcp(m_platform, target.address.Value(), target.port, bytes, netRetryLimitMs, stop)
                                 : Outcome{LinkFault::AddressBlank};
        lock.lock();
        return Logged(LinkKind::Network, netTarget, bytes, sent);
    }
    if (!transport) return Logged(target.kind, deviceTarget, bytes, Outcome{LinkFault::NotWritten});
    // Quiet: the run counts its failures, the window is not told of each.
    transport->SetTell({});
    const Outcome outcome = transport->Deliver(bytes, stop);
    transport->SetTell(m_tell);
    return Logged(transport->Kind(), deviceTarget, bytes, outcome);
}

} // namespace tallyx
