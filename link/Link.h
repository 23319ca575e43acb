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
#include <vector>

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

// What the connect asks a network printer, and how much of the answer it reads: the
// request's bytes are the caller's (the link builds no command).
struct NetQuery {
    Bytes request;
    size_t replyMax = 0;   // read at most this much
    size_t replyMin = 0;   // fewer bytes: ReplyShort, and the connect goes on
};

struct ConnectOutcome {
    bool connected = false;
    Outcome outcome;      // why not, or a short network reply
    Bytes netReply;       // Ethernet only: what the printer answered the query
};

// One question of a status read: the request, and when the reply read so far is whole.
struct QueryStep {
    Bytes request;
    std::function<bool(const Bytes&)> complete;
    size_t replyMax = 1;
    // A required step that gets no answer ends the whole query; an optional one ends the
    // optional steps after it (a printer that does not know the question).
    bool required = true;
};
struct QueryAnswer {
    Outcome outcome;   // NoReply when nothing whole came within the bound
    Bytes reply;       // what came, whole or not
};

// A delivery whose port, baud and address were captured once, for work that runs off the
// window's thread (the cutter run): the host is neither asked nor told anything.
struct FixedTarget {
    std::string portText;
    std::string baudText;
    std::string printerIp;   // the network printer's dotted address
    uint16_t tcpPort = kPrinterTcpPort;
    uint64_t epoch = 0;      // the link's disconnect count when captured
};

class Link {
public:
    Link(LinkHost& host, Platform& platform);

    bool IsConnected() const { return g_connected.load() != 0; }
    LinkKind Kind() const { return g_linkKind.load(); }
    // The window's start: not connected, no link kind.
    void ResetState();
    // The network printer's port (9100; the virtual printer's own elsewhere).
    void SetTcpPort(uint16_t port);
    uint16_t TcpPort();
    // The address saved by the last network connect.
    std::string PrinterIp();
    PortHandle PortState();

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

    // The target as the link stands now: the given texts, the saved printer address.
    FixedTarget CaptureTarget(const std::string& portText, const std::string& baudText);
    // The delivery rule for a fixed target: the port reopens from its captured texts, the
    // network send goes to its address (retried up to netRetryLimitMs), faults are only
    // returned. AddressBlank when the address is not a complete dotted address;
    // Disconnected once the link was disconnected after the capture. The lock is held
    // for the port's use only, never across the network's waits.
    Outcome DeliverFixed(const FixedTarget& target, const uint8_t* data, size_t n, std::stop_token stop,
                         int netRetryLimitMs);

    // The opening half of the connect button: opens the port, or checks the printer on
    // the network by sending it netQuery and reads back its answer.
    ConnectOutcome Connect(const NetQuery& netQuery = {}, std::stop_token stop = {});
    // Closes the device; the connected flag drops; fixed targets captured before fail.
    void Disconnect();

    // Sends one command once on a short connection of its own, 80 ms after the
    // connect call (network parameter save). Checks the printer address first.
    Outcome SendOnceOverTcp(const Bytes& bytes);

    // Asks each step's question and reads its reply within m_replyBoundMs, in order:
    // on the open serial or USB device (no reopen between the write and the read), or
    // over one network connection for all of them. An answer that does not come ends
    // the rest with the same fault. Faults are returned, never reported.
    std::vector<QueryAnswer> Query(const std::vector<QueryStep>& steps, std::stop_token stop = {});

    // Bound of every serial and USB write and of the drain before each close.
    WriteBound m_writeBound;

    // Retry bound of the network sends, in milliseconds without a successful send.
    int m_sendRetryLimitMs = 3000;
    // How long a query waits for each reply.
    int m_replyBoundMs = 1000;

    // Told once per command handed to the link, with what came of it (the send log);
    // called under the link's lock, on the thread that sends.
    std::function<void(const SendRecord&)> m_onSend;
    // The USB printer's device node as last discovered ("" before).
    const std::string& UsbPath() const { return m_usbPath; }

private:
    friend struct LinkTestAccess;   // tests/support: the state the window's steps leave

    Outcome Report(LinkFault fault, int error = 0);
    void CloseHandle();
    Outcome OpenUsb();
    Outcome WriteToPort(const uint8_t* data, size_t n);
    Outcome OpenSerial(const std::string& portText, const std::string& baudText);
    void FinishOpen();
    bool FillNetBuf(const uint8_t* data, size_t n);
    Outcome CheckPrinterAddress(LinkFault incomplete, AddressEntry& address);
    ConnectOutcome ConnectNetwork(const NetQuery& query, std::stop_token stop);
    Outcome SendOverTcp(uint32_t address, uint16_t port, const uint8_t* data, size_t n, int retryLimitMs,
                        std::stop_token stop);
    Outcome ReopenTwiceAroundWrite(const std::string& portText, const std::string& baudText,
                                   const uint8_t* data, size_t n);
    std::vector<QueryAnswer> QueryDevice(const std::vector<QueryStep>& steps, std::stop_token stop);
    std::vector<QueryAnswer> QueryNetwork(const std::vector<QueryStep>& steps, std::stop_token stop);

    Outcome Logged(LinkKind kind, const std::string& target, const uint8_t* data, size_t n, Outcome outcome);
    Outcome LoggedNet(const AddressEntry& address, uint16_t port, const uint8_t* data, size_t n, Outcome outcome);

    PortHandle g_hPort;
    std::atomic<LinkKind> g_linkKind{LinkKind::None};
    std::atomic<int> g_connected{0};
    uint32_t m_baudRate = 9600;   // of the serial port last opened
    std::array<uint8_t, kNetBufSize> g_netBuf{};
    int g_netLen = 0;
    std::string g_printerIp;
    uint16_t m_tcpPort = kPrinterTcpPort;
    uint64_t m_epoch = 0;   // disconnects so far

    std::string m_usbPath;   // the USB printer's device node, for the send log
    bool m_quiet = false;   // while a fixed-target delivery runs, under m_lock

    // Serialises the cutter worker's use of the link with the UI thread's.
    std::recursive_mutex m_lock;

    LinkHost& m_host;
    Platform& m_platform;
};

uint32_t BaudFromText(const std::string& text);

} // namespace tallyx
