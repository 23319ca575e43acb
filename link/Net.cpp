// Network side of the link: the connect check with its parameter query, the one
// connection per command delivery, and the one-shot send of the parameter save.
#include <algorithm>

#include "link/Link.h"
#include "res/MainWindowIds.h"
#include "res/Messages.h"

namespace tallyx {

namespace {
constexpr int kPrinterAddressId = id::main::kPrinterAddress;
constexpr uint8_t kNetQuery[] = {0x10, 0x04, 0x13};
constexpr size_t kNetReplySize = 22;
constexpr size_t kNetReplyUsed = 17;   // four addresses and the DHCP byte
constexpr int kQueryStepMs = 80;
constexpr int kQueryTries = 15;
constexpr int kReplyWaitMs = 350;
constexpr int kSendStepMs = 100;
constexpr int kClosePauseMs = 300;
constexpr int kSaveWaitMs = 80;

uint32_t ReadAddress(const uint8_t* p)
{
    return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
}
} // namespace

bool Link::CheckPrinterAddress(std::string_view incompleteText, AddressEntry& address)
{
    address = m_host.PrinterAddress();
    if (address.Blank()) {
        m_host.ShowMessage({kCaptionTool, kMsgRemoteIpEmpty, kPrinterAddressId});
        return false;
    }
    if (!address.Complete()) {
        m_host.ShowMessage({kCaptionTool, incompleteText, kPrinterAddressId});
        return false;
    }
    return true;
}

ConnectOutcome Link::ConnectNetwork()
{
    ConnectOutcome outcome;
    AddressEntry address;
    if (!CheckPrinterAddress(kMsgConnectIpIncomplete, address)) return outcome;
    const OpenResult sock = m_platform.SocketOpen();
    if (!sock.ok()) {
        m_host.ShowMessage({kCaptionError, kMsgSocketFailed});
        return outcome;
    }
    g_printerIp = address.Dotted();
    m_platform.SocketConnect(sock.fd, address.Value(), m_tcpPort);

    // Whether the connection is made shows in the sends of the query.
    m_platform.SleepMs(kQueryStepMs);
    int failures = 0;
    while (m_platform.SocketSend(sock.fd, kNetQuery, sizeof kNetQuery) < 0) {
        m_platform.SleepMs(kQueryStepMs);
        if (++failures == kQueryTries) {
            m_host.ShowMessage({kCaptionTool, kMsgConnectFailed});
            m_platform.SocketClose(sock.fd);
            return outcome;
        }
    }

    m_platform.SleepMs(kReplyWaitMs);
    uint8_t reply[kNetReplySize] = {};
    const size_t got = m_platform.SocketReceive(sock.fd, reply, sizeof reply, 0);
    // A short reply would leave part of the parameters undefined: none of them is taken.
    if (got >= kNetReplyUsed) {
        outcome.net = NetParams{ReadAddress(reply), ReadAddress(reply + 4), ReadAddress(reply + 8),
                                ReadAddress(reply + 12), int(reply[16]) - 1, true};
    }
    m_platform.SocketCloseGracefully(sock.fd, 0);
    g_linkKind = LinkKind::Network;
    outcome.connected = true;
    return outcome;
}

bool Link::SendPendingNetData()
{
    std::lock_guard lock(m_lock);
    AddressEntry address;
    if (!CheckPrinterAddress(kMsgSendIpIncomplete, address)) return false;
    OpenResult sock = m_platform.SocketOpen();
    if (!sock.ok()) {
        m_host.ShowMessage({kCaptionError, kMsgSocketFailed});
        return false;
    }
    ConnectState state = m_platform.SocketConnect(sock.fd, address.Value(), m_tcpPort);

    const size_t total = size_t(std::max(g_netLen, 0));
    size_t sent = 0;
    int64_t lastProgress = m_platform.NowMs();
    bool delivered = false;
    for (;;) {
        if (state == ConnectState::Pending) state = m_platform.SocketWaitConnected(sock.fd, kSendStepMs);
        if (state == ConnectState::Connected) {
            if (sent == total) { delivered = true; break; }
            const long n = m_platform.SocketSend(sock.fd, g_netBuf.data() + sent, total - sent);
            if (n > 0) {
                sent += size_t(n);
                lastProgress = m_platform.NowMs();
                continue;
            }
            if (n == Platform::kSendFailed) {
                // Part of the command may already be printed: another connection would repeat it.
                if (sent > 0) break;
                state = ConnectState::Failed;
            } else {
                m_platform.SocketWaitWritable(sock.fd, kSendStepMs);
            }
        }
        if (m_platform.NowMs() - lastProgress >= m_sendRetryLimitMs) break;
        if (state == ConnectState::Failed) {
            // Refused or reset before any byte went out: a printer still starting up
            // gets a fresh connection on the next step.
            m_platform.SocketClose(sock.fd);
            m_platform.SleepMs(kSendStepMs);
            sock = m_platform.SocketOpen();
            if (!sock.ok()) break;
            state = m_platform.SocketConnect(sock.fd, address.Value(), m_tcpPort);
        }
    }
    if (!delivered) {
        if (sock.ok()) m_platform.SocketClose(sock.fd);
        m_host.ShowMessage({kCaptionTool, kMsgConnectFailed});
        return false;
    }
    // The pause between commands is spent letting the printer take the last bytes.
    const int64_t closeStart = m_platform.NowMs();
    m_platform.SocketCloseGracefully(sock.fd, kClosePauseMs);
    const int64_t left = kClosePauseMs - (m_platform.NowMs() - closeStart);
    if (left > 0) m_platform.SleepMs(int(left));
    return true;
}

bool Link::SendOnceOverTcp(const Bytes& bytes)
{
    std::lock_guard lock(m_lock);
    AddressEntry address;
    if (!CheckPrinterAddress(kMsgSendIpIncomplete, address)) return false;
    const OpenResult sock = m_platform.SocketOpen();
    if (!sock.ok()) {
        m_host.ShowMessage({kCaptionError, kMsgSocketFailed});
        return false;
    }
    m_platform.SocketConnect(sock.fd, address.Value(), m_tcpPort);
    m_platform.SleepMs(kSaveWaitMs);
    size_t sent = 0;
    long n = m_platform.SocketSend(sock.fd, bytes.data(), bytes.size());
    // A short send is finished on the same connection, within one more step.
    while (n > 0 && (sent += size_t(n)) < bytes.size()) {
        m_platform.SocketWaitWritable(sock.fd, kSendStepMs);
        n = m_platform.SocketSend(sock.fd, bytes.data() + sent, bytes.size() - sent);
    }
    if (sent < bytes.size() || (bytes.empty() && n < 0)) {
        m_host.ShowMessage({kCaptionTool, kMsgNetSaveFailed});
        m_platform.SocketClose(sock.fd);
        return false;
    }
    m_platform.SocketCloseGracefully(sock.fd, kClosePauseMs);
    return true;
}

} // namespace tallyx
