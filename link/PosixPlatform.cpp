#include "link/PosixPlatform.h"

#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <fcntl.h>
#include <thread>
#include <unistd.h>

#include "link/Poll.h"
#include "link/SerialPort.h"
#include "link/TcpSocket.h"

namespace tallyx {

PosixPlatform::PosixPlatform(UsbPrinterFinder usb) : m_usb(std::move(usb)) {}

OpenResult PosixPlatform::OpenSerial(const std::string& portText) { return OpenSerialDevice(portText); }

void PosixPlatform::ConfigureSerial(int fd, uint32_t baudRate) { ConfigureSerialDevice(fd, baudRate); }

UsbDiscovery PosixPlatform::DiscoverUsb() { return m_usb.Find(); }

OpenResult PosixPlatform::OpenUsb(const std::string& path)
{
    // Never creates a node: a missing printer is a failed open. Non-blocking, so a
    // stalled printer cannot hold a write past its bound.
    const int fd = ::open(path.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return {-1, errno};
    return {fd, 0};
}

void PosixPlatform::Purge(int fd) { PurgeDevice(fd); }

size_t PosixPlatform::Write(int fd, const uint8_t* data, size_t n, WriteBound bound)
{
    return WriteAll(fd, data, n, bound.For(n));
}

size_t PosixPlatform::Read(int fd, uint8_t* data, size_t capacity, int timeoutMs, std::stop_token stop)
{
    return ReadWithin(fd, data, capacity, timeoutMs, stop);
}

void PosixPlatform::Close(int fd, WriteBound bound) { DrainAndClose(fd, bound); }

OpenResult PosixPlatform::SocketOpen() { return tcp::Open(); }

ConnectState PosixPlatform::SocketConnect(int fd, uint32_t address, uint16_t port)
{
    return tcp::Connect(fd, address, port);
}

ConnectState PosixPlatform::SocketWaitConnected(int fd, int timeoutMs, std::stop_token stop)
{
    return tcp::WaitConnected(fd, timeoutMs, stop);
}

long PosixPlatform::SocketSend(int fd, const uint8_t* data, size_t n) { return tcp::Send(fd, data, n); }

void PosixPlatform::SocketWaitWritable(int fd, int timeoutMs, std::stop_token stop)
{
    tcp::WaitWritable(fd, timeoutMs, stop);
}

size_t PosixPlatform::SocketReceive(int fd, uint8_t* data, size_t capacity, int timeoutMs, std::stop_token stop)
{
    return tcp::Receive(fd, data, capacity, timeoutMs, stop);
}

void PosixPlatform::SocketCloseGracefully(int fd, int lingerMs, std::stop_token stop)
{
    tcp::CloseGracefully(fd, lingerMs, stop);
}

void PosixPlatform::SocketClose(int fd) { tcp::Close(fd); }

void PosixPlatform::SleepMs(int ms, std::stop_token stop)
{
    // A plain sleep when nobody can ask for a stop; otherwise one that wakes at the request.
    if (!stop.stop_possible()) return std::this_thread::sleep_for(std::chrono::milliseconds(ms));
    std::mutex mutex;
    std::condition_variable_any wake;
    std::unique_lock lock(mutex);
    wake.wait_for(lock, stop, std::chrono::milliseconds(ms), [] { return false; });
}

int64_t PosixPlatform::NowMs() { return SteadyNowMs(); }

} // namespace tallyx
