#pragma once
// The one program-wide printer link: the port handle, the pending network command,
// the reopen rule and the delivery rule every command handler applies.
#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <stop_token>
#include <string>

#include "link/Outcome.h"
#include "link/Platform.h"
#include "res/Types.h"

namespace tallyx {

struct SendRecord;   // link/SendLog.h

inline constexpr size_t kNetBufSize = 24576;
inline constexpr uint16_t kPrinterTcpPort = 9100;

enum class LinkKind : uint8_t { None = 0, Serial = 1, Usb = 2, Network = 3 };

// none / the last USB open failed and is not yet reported / an open device
struct PortHandle {
    enum class State { None, Failed, Open };
    State state = State::None;
    int fd = -1;
    bool IsNone() const { return state == State::None; }
    bool IsFailed() const { return state == State::Failed; }
    bool IsOpen() const { return state == State::Open; }
};

// Main window (or dialog) form of the delivery rule on the network.
enum class Delivery {
    Posted,   // fill the pending buffer and post the send trigger; the send runs later
    Direct,   // fill the pending buffer and send it now
};

// What the link needs from the window (or the command line) that owns it.
class LinkHost {
public:
    virtual ~LinkHost() = default;
    virtual std::string PortText() = 0;             // the port combo's text
    virtual std::string BaudText() = 0;             // the baud combo's text
    virtual AddressEntry PrinterAddress() = 0;      // the printer address control
    // Told at the moment a fault happens, so the operator hears of it in the same order
    // and at the same point as the steps that failed.
    virtual void ReportFault(const Outcome& fault) = 0;
    // Queues `times` clicks of the hidden send button; the window runs them all in one go.
    virtual void PostSendTrigger(uint64_t times) = 0;
};

// The printer's network parameters as read back at an Ethernet connect.
struct NetParams {
    uint32_t ip = 0;
    uint32_t mask = 0;
    uint32_t gateway = 0;
    uint32_t dns = 0;
    int dhcpIndex = 0;
    bool valid = false;   // false: the reply was too short to hold them
};

inline constexpr uint8_t kNetQuery[] = {0x10, 0x04, 0x13};   // DLE EOT 19: report network parameters
inline constexpr size_t kNetReplySize = 22;   // the query reads at most this much
inline constexpr size_t kNetReplyUsed = 17;   // four addresses and the DHCP byte
// Addresses first octet first, then the DHCP byte (1 "NO", 2 "YES").
NetParams DecodeNetReply(const uint8_t* reply, size_t length);

struct ConnectOutcome {
    bool connected = false;
    Outcome outcome;      // why not, or a short network reply
    NetParams net;        // Ethernet only
};

// A delivery whose port, baud and address were captured once, for work that runs off the
// window's thread (the cutter run): the host is neither asked nor told anything.
struct FixedTarget {
    std::string portText;
    std::string baudText;
    std::string printerIp;   // the network printer's dotted address
    uint16_t tcpPort = kPrinterTcpPort;
};

class Link {
public:
    Link(LinkHost& host, Platform& platform);

    PortHandle g_hPort;
    std::atomic<LinkKind> g_linkKind{LinkKind::None};
    std::atomic<int> g_connected{0};
    uint32_t m_baudRate = 9600;   // of the serial port last opened
    std::array<uint8_t, kNetBufSize> g_netBuf{};
    int g_netLen = 0;
    std::string g_printerIp;
    uint16_t m_tcpPort = kPrinterTcpPort;

    // Closes the device and opens it again from the host's current port and baud texts.
    Outcome ReopenPort();
    Outcome ReopenPort(const std::string& portText, const std::string& baudText);

    // First step of the delivery rule: a failed USB open is reported once and cleared.
    Outcome CheckPortHandle();
    // The rest of the delivery rule for a port text read once by the caller.
    Outcome Deliver(const std::string& portText, const uint8_t* data, size_t n, Delivery form,
                    std::stop_token stop = {});
    // Deliver `count` times for a command repeated by the operator's send count; the
    // first repetition that fails ends the rest (posted network sends: the window's loop).
    Outcome DeliverRepeated(const std::string& portText, const uint8_t* data, size_t n, uint32_t count,
                            Delivery form, std::stop_token stop = {});
    // The whole delivery rule.
    Outcome SendToPrinter(const Bytes& bytes, Delivery form);

    // Sends the pending network command on a connection of its own (the send trigger).
    Outcome SendPendingNetData(std::stop_token stop = {});
    // The delivery rule for a fixed target: the port reopens from its captured texts, the
    // network send goes to its address (retried up to netRetryLimitMs), faults are only
    // returned. AddressBlank when the address is not a complete dotted address.
    Outcome DeliverFixed(const FixedTarget& target, const uint8_t* data, size_t n, std::stop_token stop,
                         int netRetryLimitMs);

    // The opening half of the connect button: opens the port, or checks the printer on
    // the network and reads back its parameters.
    ConnectOutcome Connect(std::stop_token stop = {});
    // Closes the device; the connected flag drops.
    void Disconnect();

    // Sends one command once on a short connection of its own, 80 ms after the
    // connect call (network parameter save). Checks the printer address first.
    Outcome SendOnceOverTcp(const Bytes& bytes);

    // Bound of every serial and USB write and of the drain before each close.
    WriteBound m_writeBound;

    // Retry bound of the network sends, in milliseconds without a successful send.
    int m_sendRetryLimitMs = 3000;

    // Serialises the cutter worker's use of the link with the UI thread's.
    std::recursive_mutex m_lock;

    // Told once per command handed to the link, with what came of it (the send log);
    // called under m_lock, on the thread that sends.
    std::function<void(const SendRecord&)> m_onSend;
    // The USB printer's device node as last discovered ("" before).
    const std::string& UsbPath() const { return m_usbPath; }

private:
    Outcome Report(LinkFault fault, int error = 0);
    void CloseHandle();
    Outcome OpenUsb();
    Outcome WriteToPort(const uint8_t* data, size_t n);
    Outcome OpenSerial(const std::string& portText, const std::string& baudText);
    void FinishOpen();
    bool FillNetBuf(const uint8_t* data, size_t n);
    Outcome CheckPrinterAddress(LinkFault incomplete, AddressEntry& address);
    ConnectOutcome ConnectNetwork(std::stop_token stop);
    Outcome SendOverTcp(uint32_t address, uint16_t port, const uint8_t* data, size_t n, int retryLimitMs,
                        std::stop_token stop);
    Outcome ReopenTwiceAroundWrite(const std::string& portText, const std::string& baudText,
                                   const uint8_t* data, size_t n);

    Outcome Logged(LinkKind kind, const std::string& target, const uint8_t* data, size_t n, Outcome outcome);
    Outcome LoggedNet(const AddressEntry& address, uint16_t port, const uint8_t* data, size_t n, Outcome outcome);

    std::string m_usbPath;   // the USB printer's device node, for the send log
    bool m_quiet = false;   // while a fixed-target delivery runs, under m_lock

    LinkHost& m_host;
    Platform& m_platform;
};

uint32_t BaudFromText(const std::string& text);

} // namespace tallyx
