#include "link/NetworkTransport.h"

#include <algorithm>
#include <cassert>
#include <cstring>

#include "link/QueryRule.h"

namespace tallyx {

namespace {
constexpr int kQueryStepMs = 80;
constexpr int kQueryTries = 15;
constexpr int kReplyWaitMs = 350;
constexpr int kSendStepMs = 100;
constexpr int kClosePauseMs = 300;
constexpr int kSaveWaitMs = 80;
constexpr int kConnectWaitMs = 1000;
} // namespace

std::string NetworkTransport::Describe() const
{
    return m_address.Complete() ? m_address.Dotted() + ":" + std::to_string(m_port) : std::string();
}

Outcome NetworkTransport::CheckAddress(LinkFault incomplete)
{
    if (m_address.Blank()) return Told(LinkFault::AddressBlank);
    if (!m_address.Complete()) return Told(incomplete);
    return {};
}

ConnectOutcome NetworkTransport::Connect(const NetQuery& query, std::stop_token stop)
{
    assert(!query.request.empty() && "the network connect's check is its query");
    ConnectOutcome result;
    if ((result.outcome = CheckAddress(LinkFault::AddressIncomplete)).fault != LinkFault::None) return result;
    const OpenResult sock = m_platform.SocketOpen();
    if (!sock.ok()) {
        result.outcome = Told(LinkFault::SocketFailed, sock.error);
        return result;
    }
    m_platform.SocketConnect(sock.fd, m_address.Value(), m_port);

    // Whether the connection is made shows in the sends of the query.
    m_platform.SleepMs(kQueryStepMs, stop);
    int failures = 0;
    while (m_platform.SocketSend(sock.fd, query.request.data(), query.request.size()) < 0) {
        if (stop.stop_requested()) {
            m_platform.SocketClose(sock.fd);
            result.outcome = Outcome{LinkFault::Stopped};
            return result;
        }
        m_platform.SleepMs(kQueryStepMs, stop);
        if (++failures == kQueryTries) {
            m_platform.SocketClose(sock.fd);
            result.outcome = Told(LinkFault::NotReached);
            return result;
        }
    }

    m_platform.SleepMs(kReplyWaitMs, stop);
    result.netReply.resize(query.replyMax);
    const size_t got =
        query.replyMax ? m_platform.SocketReceive(sock.fd, result.netReply.data(), query.replyMax, 0, stop) : 0;
    result.netReply.resize(got);
    // Not a failure of the connect: the parameter fields stay empty.
    if (got < query.replyMin) result.outcome = Outcome{LinkFault::ReplyShort};
    m_platform.SocketCloseGracefully(sock.fd, 0, stop);
    result.connected = true;
    return result;
}

bool NetworkTransport::FillNetBuf(std::span<const uint8_t> bytes)
{
    // A longer command would overrun the buffer: it is refused, never cut.
    if (bytes.size() > kNetBufSize - 1) return false;
    if (!bytes.empty()) std::memcpy(g_netBuf.data(), bytes.data(), bytes.size());
    g_netBuf[bytes.size()] = 0;
    g_netLen = int(bytes.size());
    return true;
}

Outcome NetworkTransport::Deliver(std::span<const uint8_t> bytes, std::stop_token stop)
{
    if (!FillNetBuf(bytes)) return Told(LinkFault::TooLong);
    return SendPendingNetData(stop);
}

Outcome NetworkTransport::SendPendingNetData(std::stop_token stop)
{
    if (const Outcome checked = CheckAddress(LinkFault::SendAddressIncomplete); !checked) return checked;
    const std::span<const uint8_t> pending(g_netBuf.data(), size_t(std::max(g_netLen, 0)));
    const Outcome sent = SendOverTcp(m_platform, m_address.Value(), m_port, pending, m_sendRetryLimitMs, stop);
    if (sent.ok() || sent.fault == LinkFault::Stopped) return sent;
    return Told(sent.fault, sent.error);
}

Outcome SendOverTcp(Platform& platform, uint32_t address, uint16_t port, std::span<const uint8_t> bytes,
                    int retryLimitMs, std::stop_token stop)
{
    OpenResult sock = platform.SocketOpen();
    if (!sock.ok()) return Outcome{LinkFault::SocketFailed, sock.error};
    ConnectState state = platform.SocketConnect(sock.fd, address, port);

    const size_t total = bytes.size();
    size_t sent = 0;
    int64_t lastProgress = platform.NowMs();
    Outcome outcome{LinkFault::NotReached};
    for (;;) {
        if (stop.stop_requested()) {
            outcome = Outcome{LinkFault::Stopped};
            break;
        }
        if (state == ConnectState::Pending) state = platform.SocketWaitConnected(sock.fd, kSendStepMs, stop);
        if (state == ConnectState::Connected) {
            if (sent == total) {
                outcome = {};
                break;
            }
            const long n = platform.SocketSend(sock.fd, bytes.data() + sent, total - sent);
            if (n > 0) {
                sent += size_t(n);
                lastProgress = platform.NowMs();
                continue;
            }
            if (n == Platform::kSendFailed) {
                // Part of the command may already be printed: another connection would repeat it.
                if (sent > 0) {
                    outcome = Outcome{LinkFault::CutOff};
                    break;
                }
                state = ConnectState::Failed;
            } else {
                platform.SocketWaitWritable(sock.fd, kSendStepMs, stop);
            }
        }
        if (platform.NowMs() - lastProgress >= retryLimitMs) break;
        if (state == ConnectState::Failed) {
            // Refused or reset before any byte went out: a printer still starting up
            // gets a fresh connection on the next step.
            platform.SocketClose(sock.fd);
            platform.SleepMs(kSendStepMs, stop);
            sock = platform.SocketOpen();
            if (!sock.ok()) break;
            state = platform.SocketConnect(sock.fd, address, port);
        }
    }
    if (!outcome.ok()) {
        if (sock.ok()) platform.SocketClose(sock.fd);
        return outcome;
    }
    // The pause between commands is spent letting the printer take the last bytes.
    const int64_t closeStart = platform.NowMs();
    platform.SocketCloseGracefully(sock.fd, kClosePauseMs, stop);
    const int64_t left = kClosePauseMs - (platform.NowMs() - closeStart);
    if (left > 0 && !stop.stop_requested()) platform.SleepMs(int(left), stop);
    return {};
}

Outcome NetworkTransport::SendOnce(std::span<const uint8_t> bytes)
{
    if (const Outcome checked = CheckAddress(LinkFault::SendAddressIncomplete); !checked) return checked;
    const OpenResult sock = m_platform.SocketOpen();
    if (!sock.ok()) return Told(LinkFault::SocketFailed, sock.error);
    m_platform.SocketConnect(sock.fd, m_address.Value(), m_port);
    m_platform.SleepMs(kSaveWaitMs, {});
    size_t sent = 0;
    long n = m_platform.SocketSend(sock.fd, bytes.data(), bytes.size());
    // A short send is finished on the same connection, within one more step.
    while (n > 0 && (sent += size_t(n)) < bytes.size()) {
        m_platform.SocketWaitWritable(sock.fd, kSendStepMs, {});
        n = m_platform.SocketSend(sock.fd, bytes.data() + sent, bytes.size() - sent);
    }
    if (sent < bytes.size() || (bytes.empty() && n < 0)) {
        m_platform.SocketClose(sock.fd);
        return Told(LinkFault::SaveFailed);
    }
    // No closing pause: the save is one send, not a command of the delivery rule.
    m_platform.SocketCloseGracefully(sock.fd, 0, {});
    return {};
}

std::vector<QueryAnswer> NetworkTransport::Query(const std::vector<QueryStep>& steps, int boundMs,
                                                 std::stop_token stop)
{
    if (m_address.Blank()) return FailAll(steps, Outcome{LinkFault::AddressBlank});
    if (!m_address.Complete()) return FailAll(steps, Outcome{LinkFault::SendAddressIncomplete});
    const OpenResult sock = m_platform.SocketOpen();
    if (!sock.ok()) return FailAll(steps, Outcome{LinkFault::SocketFailed, sock.error});
    ConnectState state = m_platform.SocketConnect(sock.fd, m_address.Value(), m_port);
    if (state == ConnectState::Pending) state = m_platform.SocketWaitConnected(sock.fd, kConnectWaitMs, stop);
    if (state != ConnectState::Connected) {
        m_platform.SocketClose(sock.fd);
        return FailAll(steps, Outcome{stop.stop_requested() ? LinkFault::Stopped : LinkFault::NotReached});
    }
    std::vector<QueryAnswer> answers = RunSteps(
        m_platform, steps, boundMs, stop,
        [&](const QueryStep& step) {
            size_t sent = 0;
            const int64_t deadline = m_platform.NowMs() + boundMs;
            while (sent < step.request.size()) {
                const long n = m_platform.SocketSend(sock.fd, step.request.data() + sent, step.request.size() - sent);
                if (n == Platform::kSendFailed) return Outcome{LinkFault::CutOff};
                if (n > 0) {
                    sent += size_t(n);
                    continue;
                }
                if (stop.stop_requested()) return Outcome{LinkFault::Stopped};
                if (m_platform.NowMs() >= deadline) return Outcome{LinkFault::NotReached};
                m_platform.SocketWaitWritable(sock.fd, 10, stop);
            }
            return Outcome{};
        },
        [&](uint8_t* data, size_t capacity, int timeoutMs) {
            return m_platform.SocketReceive(sock.fd, data, capacity, timeoutMs, stop);
        });
    m_platform.SocketCloseGracefully(sock.fd, 0, stop);
    return answers;
}

} // namespace tallyx
