#pragma once
// The device and socket calls the link makes, behind one interface so the delivery
// rule can be checked with a recording fake as well as with the real POSIX backends.
#include <cstddef>
#include <cstdint>
#include <stop_token>
#include <string>

namespace tallyx {

// A device or socket handle, or -1 with the errno that stopped it.
struct OpenResult {
    int fd = -1;
    int error = 0;
    bool ok() const { return fd >= 0; }
};

// How a search for the first USB printer-class interface ended.
enum class UsbFind {
    Found,          // path holds the device node
    NoDeviceSet,    // the device list itself could not be read: silent stop
    NoInterface,    // no printer interface present: "no USB device" message
    NoDetail,       // the interface's device node could not be found: silent stop
    NoHardwareId,   // the device's vendor/product id could not be read: silent stop
};

struct UsbDiscovery {
    UsbFind result = UsbFind::NoInterface;
    std::string path;
    std::string hardwareId;
};

// State of a connection being made on a non-blocking socket.
enum class ConnectState { Connected, Pending, Failed };

// How long a serial or USB write (or the drain before a close) may take:
// perByteMs for every byte plus constantMs.
struct WriteBound {
    uint32_t perByteMs = 65535;
    uint32_t constantMs = 65535;
    int64_t For(size_t bytes) const { return int64_t(perByteMs) * int64_t(bytes) + constantMs; }
};

class Platform {
public:
    virtual ~Platform() = default;

    // Serial and USB devices
    virtual OpenResult OpenSerial(const std::string& portText) = 0;
    // Raw 8N1 at the given rate, no flow control, DTR and RTS off.
    virtual void ConfigureSerial(int fd, uint32_t baudRate) = 0;
    virtual UsbDiscovery DiscoverUsb() = 0;
    virtual OpenResult OpenUsb(const std::string& path) = 0;
    virtual void Purge(int fd) = 0;
    // Hands over every byte (partial writes and EINTR are retried) within the bound;
    // returns bytes written, fewer when the device stalled or failed.
    virtual size_t Write(int fd, const uint8_t* data, size_t n, WriteBound bound) = 0;
    // Waits at most timeoutMs for bytes from the device, then reads what is there (0: none).
    virtual size_t Read(int fd, uint8_t* data, size_t capacity, int timeoutMs, std::stop_token stop) = 0;
    // Drains what is still queued for the device (within the bound, then drops it) and closes.
    virtual void Close(int fd, WriteBound bound) = 0;

    // TCP: a non-blocking IPv4 stream socket.
    virtual OpenResult SocketOpen() = 0;
    virtual ConnectState SocketConnect(int fd, uint32_t address, uint16_t port) = 0;
    // Every wait below ends early when stop is requested.
    // Waits at most timeoutMs for a pending connection to finish.
    virtual ConnectState SocketWaitConnected(int fd, int timeoutMs, std::stop_token stop) = 0;
    // One send call: bytes taken; kSendRetry while the connection is not ready to take
    // bytes (not connected yet, would block); kSendFailed when it is gone.
    static constexpr long kSendRetry = -1;
    static constexpr long kSendFailed = -2;
    virtual long SocketSend(int fd, const uint8_t* data, size_t n) = 0;
    // Waits at most timeoutMs for the socket to become writable again.
    virtual void SocketWaitWritable(int fd, int timeoutMs, std::stop_token stop) = 0;
    // Receives once, waiting at most timeoutMs; returns the bytes read (0 on none).
    virtual size_t SocketReceive(int fd, uint8_t* data, size_t capacity, int timeoutMs, std::stop_token stop) = 0;
    // Shuts the sending side and reads (dropping) what the peer sends for up to
    // lingerMs or until it closes, then closes: nothing in flight is reset.
    virtual void SocketCloseGracefully(int fd, int lingerMs, std::stop_token stop) = 0;
    virtual void SocketClose(int fd) = 0;

    virtual void SleepMs(int ms, std::stop_token stop) = 0;
    virtual int64_t NowMs() = 0;
};

} // namespace tallyx
