#pragma once
// A transport that records what reaches it and answers as told: for the sender, the
// window, the dialogs and the command line, where the kind's rule is not under test.
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>

#include "link/Transport.h"
#include "tests/support/Hex.h"

namespace tallyx::test {

class FakeTransport : public Transport {
public:
    explicit FakeTransport(LinkKind kind = LinkKind::Serial) : m_kind(kind) {}

    // How long each delivery takes (a printer that retries), ended early by a stop.
    std::chrono::milliseconds deliverTakes{0};
    // What a delivery comes to; told first when it is a fault.
    Outcome deliverOutcome;
    // From this delivery on (counted from 1), deliveries come to deliverOutcome.
    int failFrom = 1;
    std::string describe = "fake";

    LinkKind Kind() const override { return m_kind; }
    std::string Describe() const override { return describe; }
    ConnectOutcome Connect(const NetQuery&, std::stop_token) override { return {true, {}, {}}; }
    Outcome Deliver(std::span<const uint8_t> bytes, std::stop_token stop) override
    {
        std::unique_lock lock(m_mutex);
        m_wake.wait_for(lock, stop, deliverTakes, [] { return false; });
        if (stop.stop_requested()) return Outcome{LinkFault::Stopped};
        m_delivered.push_back(Hex(Bytes(bytes.begin(), bytes.end())));
        if (!deliverOutcome.ok() && int(m_delivered.size()) >= failFrom)
            return Told(deliverOutcome.fault, deliverOutcome.error);
        return {};
    }
    std::vector<QueryAnswer> Query(const std::vector<QueryStep>& steps, int, std::stop_token) override
    {
        return std::vector<QueryAnswer>(steps.size());
    }
    void Close() override
    {
        std::lock_guard lock(m_mutex);
        ++m_closes;
    }

    std::vector<std::string> Delivered()
    {
        std::lock_guard lock(m_mutex);
        return m_delivered;
    }
    int Closes()
    {
        std::lock_guard lock(m_mutex);
        return m_closes;
    }

private:
    LinkKind m_kind;
    std::mutex m_mutex;
    std::condition_variable_any m_wake;
    std::vector<std::string> m_delivered;
    int m_closes = 0;
};

} // namespace tallyx::test
