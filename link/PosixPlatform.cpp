#include "link/PosixPlatform.h"

#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <thread>
#include <unistd.h>

#include "link/SerialPort.h"
#include "link/TcpSocket.h"

namespace tallyx {

PosixPlatform::PosixPlatform(UsbPrinterFinder usb) : m_usb(std::move(usb)) {}

OpenResult PosixPlatform::OpenSerial(const std::string& portText) { return OpenSerialDevice(portText); }

void PosixPlatform::ConfigureSerial(int fd, const SerialSettings& settings) { ConfigureSerialDevice(fd, settings); }

UsbDiscovery PosixPlatform::DiscoverUsb() { return m_usb.Find(); }

OpenResult PosixPlatform::OpenUsb(const std::string& path)
{
    // Never creates a node: a missing printer is a failed open.
    const int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
    if (fd < 0) return {-1, errno};
    return {fd, 0};
}

// Writes block until the device takes the data; reads are never made.
void PosixPlatform::ApplyTimeouts(int, const Timeouts&) {}

void PosixPlatform::Purge(int fd) { PurgeDevice(fd); }

size_t PosixPlatform::Write(int fd, const uint8_t* data, size_t n) { return WriteAll(fd, data, n); }

void PosixPlatform::Close(int fd) { DrainAndClose(fd); }

OpenResult PosixPlatform::SocketOpen() { return tcp::Open(); }

ConnectState PosixPlatform::SocketConnect(int fd, uint32_t address, uint16_t port)
{
    return tcp::Connect(fd, address, port);
}

ConnectState PosixPlatform::SocketWaitConnected(int fd, int timeoutMs) { return tcp::WaitConnected(fd, timeoutMs); }

long PosixPlatform::SocketSend(int fd, const uint8_t* data, size_t n) { return tcp::Send(fd, data, n); }

void PosixPlatform::SocketWaitWritable(int fd, int timeoutMs) { tcp::WaitWritable(fd, timeoutMs); }

size_t PosixPlatform::SocketReceive(int fd, uint8_t* data, size_t capacity, int timeoutMs)
{
    return tcp::Receive(fd, data, capacity, timeoutMs);
}

void PosixPlatform::SocketCloseGracefully(int fd, int lingerMs) { tcp::CloseGracefully(fd, lingerMs); }

void PosixPlatform::SocketClose(int fd) { tcp::Close(fd); }

void PosixPlatform::SleepMs(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

int64_t PosixPlatform::NowMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

} // namespace tallyx
