#pragma once
// A Platform that records every call as a line ("open COM1", "write 1B 40") and
// answers from settings; its clock moves only when the link sleeps or waits.
// The one recording platform of the link, command-line, dialog and window tests.
#include <algorithm>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "jobs/Targets.h"
#include "link/Link.h"
#include "res/Faults.h"
#include "tests/support/Hex.h"

namespace tallyx::test {

using Strings = std::vector<std::string>;

class RecordingPlatform : public Platform {
public:
    std::vector<std::string> calls;
    std::map<std::string, bool> serialOpens;       // port text -> opens (default true)
    UsbDiscovery usb{UsbFind::Found, "/dev/usb/lp0", "USB\\VID_0483&PID_5720"};
    bool usbOpens = true;
    bool socketOpens = true;
    int connectAfterMs = 0;          // connection completes this long after the connect call
    bool refuse = false;
    size_t cutAfterBytes = SIZE_MAX;   // the connection breaks once this many bytes went out
    std::vector<Bytes> sockets;      // bytes sent on each connection
    int64_t now = 0;
    std::function<void()> onSend;    // runs at every send, as if the operator acted meanwhile

    // The bytes of every device write, in order, as hex.
    std::vector<std::string> Writes() const
    {
        std::vector<std::string> out;
        for (const auto& c : calls)
            if (c.rfind("write ", 0) == 0) out.push_back(c.substr(6));
        return out;
    }

    OpenResult OpenSerial(const std::string& portText) override
    {
        calls.push_back("open " + portText);
        auto it = serialOpens.find(portText);
        if (it != serialOpens.end() && !it->second) return {-1, 2};
        return {next++, 0};
    }
    void ConfigureSerial(int, uint32_t baudRate) override
    {
        calls.push_back("configure " + std::to_string(baudRate));
    }
    UsbDiscovery DiscoverUsb() override
    {
        calls.push_back("discover");
        return usb;
    }
    OpenResult OpenUsb(const std::string& path) override
    {
        calls.push_back("open " + path);
        return usbOpens ? OpenResult{next++, 0} : OpenResult{-1, 2};
    }
    void Purge(int) override {}
    size_t Write(int, const uint8_t* data, size_t n, WriteBound) override
    {
        calls.push_back("write " + Hex(Bytes(data, data + n)));
        Answer(data, n);
        return n;
    }
    size_t Read(int, uint8_t* data, size_t capacity, int timeoutMs, std::stop_token) override
    {
        return TakePending(data, capacity, timeoutMs);
    }
    void Close(int, WriteBound) override { calls.push_back("close"); }

    OpenResult SocketOpen() override
    {
        if (!socketOpens) return {-1, 24};
        calls.push_back("socket");
        connectedAt = now + connectAfterMs;
        return {next++, 0};
    }
    ConnectState SocketConnect(int, uint32_t, uint16_t) override
    {
        if (refuse) return ConnectState::Failed;
        sockets.emplace_back();
        return now >= connectedAt ? ConnectState::Connected : ConnectState::Pending;
    }
    ConnectState SocketWaitConnected(int, int timeoutMs, std::stop_token) override
    {
        if (now >= connectedAt) return ConnectState::Connected;
        now += timeoutMs;
        return now >= connectedAt ? ConnectState::Connected : ConnectState::Pending;
    }
    long SocketSend(int, const uint8_t* data, size_t n) override
    {
        if (onSend) onSend();
        if (refuse) return kSendFailed;
        if (now < connectedAt) return kSendRetry;
        if (sockets.back().size() >= cutAfterBytes) return kSendFailed;
        n = std::min(n, cutAfterBytes - sockets.back().size());
        sockets.back().insert(sockets.back().end(), data, data + n);
        Answer(data, n);
        return long(n);
    }
    void SocketWaitWritable(int, int timeoutMs, std::stop_token) override { now += timeoutMs; }
    size_t SocketReceive(int, uint8_t* data, size_t capacity, int timeoutMs, std::stop_token) override
    {
        if (respond) return TakePending(data, capacity, timeoutMs);
        const size_t n = std::min(capacity, reply.size());
        std::copy(reply.begin(), reply.begin() + long(n), data);
        return n;
    }
    void SocketCloseGracefully(int, int lingerMs, std::stop_token) override
    {
        calls.push_back("socket close");
        now += lingerMs / 3;
    }
    void SocketClose(int) override { calls.push_back("socket close"); }
    void SleepMs(int ms, std::stop_token) override { now += ms; }
    int64_t NowMs() override { return now; }

    Bytes reply;
    // A printer that answers: what each write or send brings back (read by Read, and by
    // SocketReceive in place of `reply`).
    std::function<Bytes(const Bytes& request)> respond;
    Bytes pending;

private:
    void Answer(const uint8_t* data, size_t n)
    {
        if (!respond) return;
        const Bytes answer = respond(Bytes(data, data + n));
        pending.insert(pending.end(), answer.begin(), answer.end());
    }
    size_t TakePending(uint8_t* data, size_t capacity, int timeoutMs)
    {
        const size_t n = std::min(capacity, pending.size());
        if (n == 0) now += timeoutMs;   // waited the whole bound for nothing
        std::copy(pending.begin(), pending.begin() + long(n), data);
        pending.erase(pending.begin(), pending.begin() + long(n));
        return n;
    }

    int next = 3;
    int64_t connectedAt = 0;
};

// The window's side: texts of the port, baud and address controls, messages shown.
class FakeHost {
public:
    std::string port = "COM1";
    std::string baud = "9600";
    AddressEntry address = AddressEntry::FromValue(0x7F000001);
    std::vector<std::string> messages;     // "caption|text|focus"
    std::vector<LinkFault> faults;

    // Recorded as the window would show it, from the fault table.
    void ReportFault(const Outcome& fault)
    {
        faults.push_back(fault.fault);
        const Message m = FaultMessage(fault.fault);
        if (m.caption.empty()) return;
        messages.push_back(std::string(m.caption) + "|" + std::string(m.text) + "|" + std::to_string(m.focusId));
    }
    Tell AsTell()
    {
        return [this](const Outcome& o) { ReportFault(o); };
    }
};

// The link aimed, before every call, at the target the host's texts name now, as the
// window builds it; faults told go to the host.
class HostedLink : public Link {
public:
    HostedLink(FakeHost& host, Platform& platform) : Link(platform), m_host(host) { SetTell(host.AsTell()); }

    void SetTcpPort(uint16_t port) { m_tcpPort = port; }
    Target HostTarget() const { return TargetFromChoices(m_host.port, m_host.baud, m_host.address, m_tcpPort); }

    ConnectOutcome Connect(const NetQuery& query = {}, std::stop_token stop = {})
    {
        m_aimed = HostTarget();
        m_isAimed = true;
        return Link::Connect(m_aimed, query, stop);
    }
    // As the window's reopen: the first one for new texts opens as a connect does.
    Outcome ReopenPort()
    {
        const Target now = HostTarget();
        if (now.kind == LinkKind::Network || (m_isAimed && Same(now, m_aimed))) return Aim(), Link::ReopenPort();
        return Connect().outcome;
    }
    Outcome SendToPrinter(const Bytes& bytes, std::stop_token stop = {}) { return Aim(), Link::SendToPrinter(bytes, stop); }
    Outcome DeliverRepeated(const Bytes& bytes, uint32_t count, std::stop_token stop = {})
    {
        return Aim(), Link::Deliver(bytes, count, stop);
    }
    Outcome SendPendingNetData(std::stop_token stop = {}) { return Aim(), Link::SendPendingNetData(stop); }
    Outcome SendOnceOverTcp(const Bytes& bytes) { return Aim(), Link::SendOnceOverTcp(bytes); }
    std::vector<QueryAnswer> Query(const std::vector<QueryStep>& steps, std::stop_token stop = {})
    {
        return Aim(), Link::Query(steps, stop);
    }
    FixedTarget CaptureTarget() { return Aim(), Link::CaptureTarget(); }

private:
    void Aim()
    {
        const Target now = HostTarget();
        if (m_isAimed && Same(now, m_aimed)) return;
        m_aimed = now;
        m_isAimed = true;
        UseTarget(now);
    }
    static bool Same(const Target& a, const Target& b)
    {
        return a.kind == b.kind && a.path == b.path && a.baud == b.baud && a.port == b.port &&
               a.address.Value() == b.address.Value() && a.address.present == b.address.present;
    }
    FakeHost& m_host;
    uint16_t m_tcpPort = kPrinterTcpPort;
    Target m_aimed;
    bool m_isAimed = false;
};

} // namespace tallyx::test
