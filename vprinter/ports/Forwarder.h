#pragma once
// The way on to a real printer (--forward): every byte a client sends is written to it
// unchanged and in order, and what it answers comes back. A printer that has gone is asked
// again at most once a second; bytes that did not reach it are handed to the loss sink.
#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

#include "vprinter/ports/ReplySink.h"
#include "vprinter/ports/ServiceThread.h"

namespace tallyx::vprinter {

// socket://HOST:PORT, or a device: a usblp node as it stands, a serial port as DEVICE:BAUD.
struct ForwardTarget {
    std::string text;   // as given, for messages
    std::string host;
    uint16_t port = 0;
    std::string device;
    int baud = 0;       // 0: not a serial port, its settings left alone
};
std::optional<ForwardTarget> ParseForwardTarget(std::string_view text, std::string* error);

// Bytes that did not reach the real printer, and why.
using LossFn = std::function<void(const uint8_t* data, size_t n, const std::string& why)>;

class Forwarder {
public:
    // `replies` and `lost` are called on the forwarder's reader thread and on the sender's.
    Forwarder(ForwardTarget target, ReplyFn replies, LossFn lost);
    ~Forwarder();
    Forwarder(const Forwarder&) = delete;
    Forwarder& operator=(const Forwarder&) = delete;

    // Reaches the printer once; false with `error` set when it cannot (nothing left running).
    bool Start(std::string* error);
    void Stop();
    // From any port's thread; a second sender waits its turn, so chunks never interleave.
    void Send(const uint8_t* data, size_t n);
    const ForwardTarget& Target() const { return m_target; }

private:
    struct Link;
    std::shared_ptr<Link> Open(std::string* error);
    std::shared_ptr<Link> Current();
    void Drop(const std::shared_ptr<Link>& link);
    void ReadReplies();

    ForwardTarget m_target;
    ReplyFn m_replies;
    LossFn m_lost;
    ServiceThread m_reader;

    std::mutex m_sendMutex;   // one sender at a time; guards m_lastTry and m_lastError
    std::chrono::steady_clock::time_point m_lastTry{};
    std::string m_lastError;

    std::mutex m_linkMutex;   // guards m_link only; never held across a wait
    std::shared_ptr<Link> m_link;
};

} // namespace tallyx::vprinter
