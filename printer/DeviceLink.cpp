#include "printer/DeviceLink.h"

#include <arpa/inet.h>
#include <netdb.h>

#include <cerrno>
#include <filesystem>
#include <fstream>

#include "link/PosixPlatform.h"

namespace tallyx::printer {

namespace {

// The first IPv4 address of a name or dotted address, host order; 0 when none.
uint32_t Resolve(const std::string& host)
{
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (::getaddrinfo(host.c_str(), nullptr, &hints, &found) != 0 || !found) return 0;
    const uint32_t address = ntohl(reinterpret_cast<const sockaddr_in*>(found->ai_addr)->sin_addr.s_addr);
    ::freeaddrinfo(found);
    return address;
}

class SocketLink : public Channel {
public:
    SocketLink(PosixPlatform& platform, int fd) : m_platform(platform), m_fd(fd) {}
    ~SocketLink() override { m_platform.SocketCloseGracefully(m_fd, kReplyBoundMs, {}); }

    Outcome Write(std::span<const uint8_t> bytes) override
    {
        size_t done = 0;
        int64_t lastProgress = m_platform.NowMs();
        while (done < bytes.size()) {
            const long sent = m_platform.SocketSend(m_fd, bytes.data() + done, bytes.size() - done);
            if (sent == Platform::kSendFailed) return {done ? LinkFault::CutOff : LinkFault::NotReached, errno};
            if (sent > 0) {
                done += size_t(sent);
                lastProgress = m_platform.NowMs();
                continue;
            }
            // A printer with a full buffer takes nothing for a while; a dead one never again.
            if (m_platform.NowMs() - lastProgress > kWriteStallMs) return {LinkFault::WriteTimeout, ETIMEDOUT};
            m_platform.SocketWaitWritable(m_fd, 200, {});
        }
        return {};
    }

    size_t Read(uint8_t* data, size_t capacity, int timeoutMs) override
    {
        return m_platform.SocketReceive(m_fd, data, capacity, timeoutMs, {});
    }

private:
    PosixPlatform& m_platform;
    int m_fd;
};

// Serial ports and usblp nodes: a descriptor the platform writes within a bound.
class PortLink : public Channel {
public:
    PortLink(PosixPlatform& platform, int fd) : m_platform(platform), m_fd(fd) {}
    ~PortLink() override { m_platform.Close(m_fd, Bound()); }

    Outcome Write(std::span<const uint8_t> bytes) override
    {
        const size_t written = m_platform.Write(m_fd, bytes.data(), bytes.size(), Bound());
        if (written == bytes.size()) return {};
        return {LinkFault::WriteTimeout, errno};
    }

    size_t Read(uint8_t* data, size_t capacity, int timeoutMs) override
    {
        return m_platform.Read(m_fd, data, capacity, timeoutMs, {});
    }

private:
    static WriteBound Bound() { return {10, uint32_t(kWriteStallMs)}; }

    PosixPlatform& m_platform;
    int m_fd;
};

PosixPlatform& Platform()
{
    static PosixPlatform platform;
    return platform;
}

std::unique_ptr<Channel> OpenChannel(const DeviceUri& uri, Outcome& why)
{
    PosixPlatform& platform = Platform();
    why = {};
    if (uri.kind == DeviceKind::Socket) {
        const uint32_t address = Resolve(uri.host);
        if (address == 0) {
            why = {LinkFault::AddressBlank, EHOSTUNREACH};
            return nullptr;
        }
        const OpenResult socket = platform.SocketOpen();
        if (!socket.ok()) {
            why = {LinkFault::SocketFailed, socket.error};
            return nullptr;
        }
        ConnectState state = platform.SocketConnect(socket.fd, address, uri.port);
        if (state == ConnectState::Pending) state = platform.SocketWaitConnected(socket.fd, kConnectBoundMs, {});
        if (state != ConnectState::Connected) {
            why = {LinkFault::NotReached, errno ? errno : ECONNREFUSED};
            platform.SocketClose(socket.fd);
            return nullptr;
        }
        return std::make_unique<SocketLink>(platform, socket.fd);
    }
    const OpenResult port = uri.kind == DeviceKind::Serial ? platform.OpenSerial(uri.path) : platform.OpenUsb(uri.path);
    if (!port.ok()) {
        why = {uri.kind == DeviceKind::Serial ? LinkFault::PortBusy : LinkFault::UsbOpenFailed, port.error};
        return nullptr;
    }
    if (uri.kind == DeviceKind::Serial) platform.ConfigureSerial(port.fd, uri.baud);
    return std::make_unique<PortLink>(platform, port.fd);
}

} // namespace

std::unique_ptr<DeviceLink> DeviceLink::Open(const DeviceUri& uri, Outcome& why)
{
    std::unique_ptr<Channel> channel = OpenChannel(uri, why);
    if (!channel) return nullptr;
    return std::unique_ptr<DeviceLink>(new DeviceLink(uri, std::move(channel)));
}

Outcome DeviceLink::Write(std::span<const uint8_t> bytes)
{
    if (!m_channel) return {LinkFault::NotWritten, ENODEV};
    return m_channel->Write(bytes);
}

size_t DeviceLink::Read(uint8_t* data, size_t capacity, int timeoutMs)
{
    return m_channel ? m_channel->Read(data, capacity, timeoutMs) : 0;
}

bool DeviceLink::Reopen()
{
    m_channel.reset();
    Outcome why;
    m_channel = OpenChannel(m_uri, why);
    return m_channel != nullptr;
}

std::string UsbDeviceId(const std::string& devicePath, const std::string& sysRoot)
{
    // /dev/usb/lp0 is /sys/class/usbmisc/lp0; the driver keeps the printer's answer there.
    const std::string node = std::filesystem::path(devicePath).filename().string();
    std::ifstream in(sysRoot + "/class/usbmisc/" + node + "/device/ieee1284_id");
    std::string id;
    std::getline(in, id);
    return id;
}

} // namespace tallyx::printer
