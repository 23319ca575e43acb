#pragma once
// Devices and sockets that only record: "open COM1", "write 1B 40 0A", "close", and the
// bytes each TCP connection carried. Sockets connect at once; the clock moves only
// when the link sleeps.
#include <map>
#include <string>
#include <vector>

#include "link/Platform.h"
#include "res/Types.h"
#include "tests/support/Hex.h"

namespace tallyx::test {

class FakePlatform : public Platform {
public:
    std::vector<std::string> calls;
    std::map<std::string, bool> serialOpens;   // port text -> opens (default: it does)
    bool usbFound = true;
    bool usbOpens = true;
    Bytes reply;                               // the printer's answer to the parameter query
    std::vector<Bytes> connections;            // bytes sent on each TCP connection

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
        return {m_next++, 0};
    }
    void ConfigureSerial(int, uint32_t baudRate) override { calls.push_back("baud " + std::to_string(baudRate)); }
    UsbDiscovery DiscoverUsb() override
    {
        calls.push_back("discover");
        if (!usbFound) return {UsbFind::NoInterface, {}, {}};
        return {UsbFind::Found, "/dev/usb/lp0", "USB\\VID_0483&PID_5720"};
    }
    OpenResult OpenUsb(const std::string& path) override
    {
        calls.push_back("open " + path);
        return usbOpens ? OpenResult{m_next++, 0} : OpenResult{-1, 2};
    }
    void Purge(int) override {}
    size_t Write(int, const uint8_t* data, size_t n, WriteBound) override
    {
        calls.push_back("write " + Hex(Bytes(data, data + n)));
        return n;
    }
    void Close(int, WriteBound) override { calls.push_back("close"); }

    OpenResult SocketOpen() override { return {m_next++, 0}; }
    ConnectState SocketConnect(int, uint32_t address, uint16_t port) override
    {
        calls.push_back("connect " + std::to_string(address >> 24) + "." + std::to_string(address >> 16 & 0xFF) + "." +
                        std::to_string(address >> 8 & 0xFF) + "." + std::to_string(address & 0xFF) + ":" +
                        std::to_string(port));
        connections.emplace_back();
        return ConnectState::Connected;
    }
    ConnectState SocketWaitConnected(int, int, std::stop_token) override { return ConnectState::Connected; }
    long SocketSend(int, const uint8_t* data, size_t n) override
    {
        connections.back().insert(connections.back().end(), data, data + n);
        return long(n);
    }
    void SocketWaitWritable(int, int ms, std::stop_token) override { m_now += ms; }
    size_t SocketReceive(int, uint8_t* data, size_t capacity, int, std::stop_token) override
    {
        const size_t n = std::min(capacity, reply.size());
        std::copy(reply.begin(), reply.begin() + long(n), data);
        return n;
    }
    void SocketCloseGracefully(int, int lingerMs, std::stop_token) override { m_now += lingerMs; }
    void SocketClose(int) override {}
    void SleepMs(int ms, std::stop_token) override { m_now += ms; }
    int64_t NowMs() override { return m_now; }

private:
    int m_next = 3;
    int64_t m_now = 0;
};

} // namespace tallyx::test
