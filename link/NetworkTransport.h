#pragma once
// A network printer: every command on a TCP connection of its own, retried every 100 ms
// until it goes or the bound passes, then 300 ms of pause.
#include <array>

#include "link/Platform.h"
#include "link/Transport.h"

namespace tallyx {

// The pending command and the zero byte after it.
inline constexpr size_t kNetBufSize = 24576;
inline constexpr int kDefaultSendRetryLimitMs = 3000;

// One command on one connection, retried without a lock: the transport's send and the
// cutter run's.
Outcome SendOverTcp(Platform& platform, uint32_t address, uint16_t port, std::span<const uint8_t> bytes,
                    int retryLimitMs, std::stop_token stop);

class NetworkTransport : public Transport {
public:
    NetworkTransport(Platform& platform, AddressEntry address, uint16_t port)
        : m_platform(platform), m_address(address), m_port(port)
    {
    }
    LinkKind Kind() const override { return LinkKind::Network; }
    std::string Describe() const override;
    ConnectOutcome Connect(const NetQuery& netQuery, std::stop_token stop) override;
    // Fills the pending buffer and sends it.
    Outcome Deliver(std::span<const uint8_t> bytes, std::stop_token stop) override;
    std::vector<QueryAnswer> Query(const std::vector<QueryStep>& steps, int boundMs,
                                   std::stop_token stop) override;
    void Close() override {}
    // The address as the operator's control holds it now.
    void SetAddress(AddressEntry address) { m_address = address; }

    // Sends the pending command on a connection of its own.
    Outcome SendPendingNetData(std::stop_token stop);
    std::span<const uint8_t> PendingNetData() const { return {g_netBuf.data(), size_t(g_netLen)}; }
    // One command once on a short connection, 80 ms after the connect call (the network
    // parameter save): no retry, no pause.
    Outcome SendOnce(std::span<const uint8_t> bytes);

    // Retry bound of the sends, in milliseconds without a byte taken.
    int m_sendRetryLimitMs = kDefaultSendRetryLimitMs;

private:
    friend struct LinkTestAccess;   // tests/support
    Outcome CheckAddress(LinkFault incomplete);
    bool FillNetBuf(std::span<const uint8_t> bytes);

    Platform& m_platform;
    AddressEntry m_address;
    uint16_t m_port;
    std::array<uint8_t, kNetBufSize> g_netBuf{};
    int g_netLen = 0;
};

} // namespace tallyx
