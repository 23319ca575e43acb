#pragma once
// The real devices and sockets: termios serial ports, usblp printers, TCP.
#include "link/Platform.h"
#include "link/UsbPrinter.h"

namespace tallyx {

class PosixPlatform : public Platform {
public:
    explicit PosixPlatform(UsbPrinterFinder usb = UsbPrinterFinder());

    OpenResult OpenSerial(const std::string& portText) override;
    void ConfigureSerial(int fd, uint32_t baudRate) override;
    UsbDiscovery DiscoverUsb() override;
    OpenResult OpenUsb(const std::string& path) override;
    void Purge(int fd) override;
    size_t Write(int fd, const uint8_t* data, size_t n, WriteBound bound) override;
    size_t Read(int fd, uint8_t* data, size_t capacity, int timeoutMs, std::stop_token stop) override;
    void Close(int fd, WriteBound bound) override;

    OpenResult SocketOpen() override;
    ConnectState SocketConnect(int fd, uint32_t address, uint16_t port) override;
    ConnectState SocketWaitConnected(int fd, int timeoutMs, std::stop_token stop) override;
    long SocketSend(int fd, const uint8_t* data, size_t n) override;
    void SocketWaitWritable(int fd, int timeoutMs, std::stop_token stop) override;
    size_t SocketReceive(int fd, uint8_t* data, size_t capacity, int timeoutMs, std::stop_token stop) override;
    void SocketCloseGracefully(int fd, int lingerMs, std::stop_token stop) override;
    void SocketClose(int fd) override;

    void SleepMs(int ms, std::stop_token stop) override;
    int64_t NowMs() override;

private:
    UsbPrinterFinder m_usb;
};

} // namespace tallyx
