#pragma once
// The one program-wide printer link: the transport made from the operator's Target, the
// connected state, and the delivery rule every command handler applies.
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <span>
#include <stop_token>
#include <string>
#include <vector>

#include "link/NetworkTransport.h"
#include "link/Platform.h"
#include "link/Target.h"
#include "link/Transport.h"

namespace tallyx {

struct SendRecord;   // link/SendLog.h

inline constexpr int kReplyBoundMs = 1000;   // how long a query waits for each reply

// A delivery whose target was captured once, for work that runs off the sender (the
// cutter run): nothing is told, faults are only returned.
struct FixedTarget {
    Target target;
    uint64_t epoch = 0;   // the link's disconnect count when captured
};

class Link {
public:
    explicit Link(Platform& platform);
    ~Link();

    // Where told faults go, on the thread that works the link.
    void SetTell(Tell tell);

    bool IsConnected() const { return g_connected.load() != 0; }
    LinkKind Kind() const { return g_linkKind.load(); }
    // The window's start: not connected, no link kind.
    void ResetState();

    // The connect button's opening half for this target: the port opened, or the network
    // printer checked with netQuery.
    ConnectOutcome Connect(const Target& target, const NetQuery& netQuery = {}, std::stop_token stop = {});
    // The same on a transport of the caller's (a test's recording fake).
    ConnectOutcome Connect(std::unique_ptr<Transport> transport, const NetQuery& netQuery = {},
                           std::stop_token stop = {});
    // A network target needs no opening: each command makes its own connection.
    void UseTarget(const Target& target);
    // Closes the device; the connected flag drops; fixed targets captured before fail.
    void Disconnect();
    // Disconnect's first half, without the device's lock: the flag and the fixed targets.
    void DropConnected();
    // A network target's address as its control holds it now, for what follows (on the
    // thread that sends).
    void SetNetworkAddress(AddressEntry address);
    // Disconnects so far; a job that began under another count must not write.
    uint64_t Epoch() const { return m_epoch.load(); }

    // The delivery rule's first step: a failed USB open is told once and cleared.
    Outcome CheckPortHandle();
    // The rest of the rule, `count` times; the first repetition that fails ends the rest.
    Outcome Deliver(std::span<const uint8_t> bytes, uint32_t count = 1, std::stop_token stop = {});
    // The whole rule.
    Outcome SendToPrinter(std::span<const uint8_t> bytes, std::stop_token stop = {});
    // Closes the serial or USB device and opens it again (the hidden button 1052).
    Outcome ReopenPort();
    // Sends the pending network command again (the hidden button 1031).
    Outcome SendPendingNetData(std::stop_token stop = {});
    // One command once on a short connection (network parameter save).
    Outcome SendOnceOverTcp(std::span<const uint8_t> bytes);
    // The status questions on the open device, or over one network connection.
    std::vector<QueryAnswer> Query(const std::vector<QueryStep>& steps, std::stop_token stop = {});

    FixedTarget CaptureTarget();
    // The delivery rule for a fixed target: the port the link holds, or the target's own
    // network connection (retried up to netRetryLimitMs, no lock held across its waits);
    // Disconnected once the link was disconnected after the capture.
    Outcome DeliverFixed(const FixedTarget& fixed, std::span<const uint8_t> bytes, std::stop_token stop,
                         int netRetryLimitMs);

    // Bound of every serial and USB write and of the drain before each close.
    WriteBound m_writeBound;
    // Retry bound of the network sends, in milliseconds without a successful send.
    int m_sendRetryLimitMs = kDefaultSendRetryLimitMs;
    int m_replyBoundMs = kReplyBoundMs;

    // Told once per command handed to the link, with what came of it (the send log);
    // called on the thread that sends.
    std::function<void(const SendRecord&)> m_onSend;

private:
    friend struct LinkTestAccess;   // tests/support

    std::shared_ptr<Transport> CurrentTransport();
    void Install(std::shared_ptr<Transport> transport);
    Outcome Logged(LinkKind kind, const std::string& target, std::span<const uint8_t> bytes, Outcome outcome);
    Outcome DeliverOnce(Transport& transport, std::span<const uint8_t> bytes, std::stop_token stop);

    Platform& m_platform;
    std::shared_ptr<Transport> m_transport;
    Target m_target;
    std::atomic<LinkKind> g_linkKind{LinkKind::None};
    std::atomic<int> g_connected{0};
    std::atomic<uint64_t> m_epoch{0};
    Tell m_tell;

    // Serialises the device's use between the sender and the cutter run; never held
    // across a network wait.
    std::recursive_mutex m_lock;
    std::mutex m_transportMutex;   // the pointer and the target, held for a copy
};

} // namespace tallyx
