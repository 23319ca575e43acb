// Network side of the link: the connect check with its parameter query, the one
// connection per command delivery, and the one-shot send of the parameter save.
#include <algorithm>
#include <cassert>

#include "link/Link.h"
#include "res/Address.h"

namespace tallyx {

namespace {
constexpr int kQueryStepMs = 80;
constexpr int kQueryTries = 15;
constexpr int kReplyWaitMs = 350;
constexpr int kSendStepMs = 100;
constexpr int kClosePauseMs = 300;
constexpr int kSaveWaitMs = 80;

} // namespace

Outcome Link::CheckPrinterAddress(LinkFault incomplete, AddressEntry& address)
{
    address = m_host.PrinterAddress();
    if (address.Blank()) return Report(LinkFault::AddressBlank);
    if (!address.Complete()) return Report(incomplete);
    return {};
}

ConnectOutcome Link::ConnectNetwork(const NetQuery& query, std::stop_token stop)
{
    assert(!query.request.empty() && "the network connect's check is its query");
    ConnectOutcome result;
    AddressEntry address;
    if ((result.outcome = CheckPrinterAddress(LinkFault::AddressIncomplete, address)).fault != LinkFault::None)
        return result;
    const OpenResult sock = m_platform.SocketOpen();
    if (!sock.ok()) {
        result.outcome = Report(LinkFault::SocketFailed, sock.error);
        return result;
    }
    g_printerIp = address.Dotted();
    m_platform.SocketConnect(sock.fd, address.Value(), m_tcpPort);

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
            result.outcome = Report(LinkFault::NotReached);
            return result;
        }
    }

    m_platform.SleepMs(kReplyWaitMs, stop);
    result.netReply.resize(query.replyMax);
    const size_t got = query.replyMax ? m_platform.SocketReceive(sock.fd, result.netReply.data(), query.replyMax, 0, stop) : 0;
    result.netReply.resize(got);
    // Not a failure of the connect: the parameter fields stay empty.
    if (got < query.replyMin) result.outcome = Outcome{LinkFault::ReplyShort};
    m_platform.SocketCloseGracefully(sock.fd, 0, stop);
    g_linkKind = LinkKind::Network;
    result.connected = true;
    return result;
}

Outcome Link::SendOverTcp(uint32_t address, uint16_t port, const uint8_t* data, size_t total, int retryLimitMs,
                          std::stop_token stop)
{
    OpenResult sock = m_platform.SocketOpen();
    if (!sock.ok()) return Outcome{LinkFault::SocketFailed, sock.error};
    ConnectState state = m_platform.SocketConnect(sock.fd, address, port);

    size_t sent = 0;
    int64_t lastProgress = m_platform.NowMs();
    Outcome outcome{LinkFault::NotReached};
    for (;;) {
        if (stop.stop_requested()) {
            outcome = Outcome{LinkFault::Stopped};
            break;
        }
        if (state == ConnectState::Pending) state = m_platform.SocketWaitConnected(sock.fd, kSendStepMs, stop);
        if (state == ConnectState::Connected) {
            if (sent == total) {
                outcome = {};
                break;
            }
            const long n = m_platform.SocketSend(sock.fd, data + sent, total - sent);
            if (n > 0) {
                sent += size_t(n);
                lastProgress = m_platform.NowMs();
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
                m_platform.SocketWaitWritable(sock.fd, kSendStepMs, stop);
            }
        }
        if (m_platform.NowMs() - lastProgress >= retryLimitMs) break;
        if (state == ConnectState::Failed) {
            // Refused or reset before any byte went out: a printer still starting up
            // gets a fresh connection on the next step.
            m_platform.SocketClose(sock.fd);
            m_platform.SleepMs(kSendStepMs, stop);
            sock = m_platform.SocketOpen();
            if (!sock.ok()) break;
            state = m_platform.SocketConnect(sock.fd, address, port);
        }
    }
    if (!outcome.ok()) {
        if (sock.ok()) m_platform.SocketClose(sock.fd);
        return outcome;
    }
    // The pause between commands is spent letting the printer take the last bytes.
    const int64_t closeStart = m_platform.NowMs();
    m_platform.SocketCloseGracefully(sock.fd, kClosePauseMs, stop);
    const int64_t left = kClosePauseMs - (m_platform.NowMs() - closeStart);
    if (left > 0 && !stop.stop_requested()) m_platform.SleepMs(int(left), stop);
    return {};
}

Outcome Link::SendPendingNetData(std::stop_token stop)
{
    std::lock_guard lock(m_lock);
    AddressEntry address;
    const size_t n = size_t(std::max(g_netLen, 0));
    if (const Outcome checked = CheckPrinterAddress(LinkFault::SendAddressIncomplete, address); !checked)
        return LoggedNet(address, m_tcpPort, g_netBuf.data(), n, checked);
    const Outcome sent = SendOverTcp(address.Value(), m_tcpPort, g_netBuf.data(), n, m_sendRetryLimitMs, stop);
    if (sent.ok() || sent.fault == LinkFault::Stopped) return LoggedNet(address, m_tcpPort, g_netBuf.data(), n, sent);
    return LoggedNet(address, m_tcpPort, g_netBuf.data(), n, Report(sent.fault, sent.error));
}

Outcome Link::SendOnceOverTcp(const Bytes& bytes)
{
    std::lock_guard lock(m_lock);
    AddressEntry address;
    const auto logged = [&](Outcome outcome) { return LoggedNet(address, m_tcpPort, bytes.data(), bytes.size(), outcome); };
    if (const Outcome checked = CheckPrinterAddress(LinkFault::SendAddressIncomplete, address); !checked)
        return logged(checked);
    const OpenResult sock = m_platform.SocketOpen();
    if (!sock.ok()) return logged(Report(LinkFault::SocketFailed, sock.error));
    m_platform.SocketConnect(sock.fd, address.Value(), m_tcpPort);
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
        return logged(Report(LinkFault::SaveFailed));
    }
    // No closing pause: the save is one send, not a command of the delivery rule.
    m_platform.SocketCloseGracefully(sock.fd, 0, {});
    return logged({});
}

} // namespace tallyx
