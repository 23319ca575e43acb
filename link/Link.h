#pragma once
// The one program-wide printer link: the port handle, the pending network command,
// the reopen rule and the delivery rule every command handler applies.
#include <array>
#include <cstdint>
#include <mutex>
#include <string>

#include "link/Platform.h"
#include "res/Types.h"

namespace tallyx {

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

// What the link needs from the window that owns it.
class LinkHost {
public:
    virtual ~LinkHost() = default;
    virtual std::string PortText() = 0;             // the port combo
    virtual std::string BaudText() = 0;             // the baud combo
    virtual AddressEntry PrinterAddress() = 0;      // the printer address control
    virtual void ShowMessage(const Message& message) = 0;  // owned by the main window
    virtual void PostSendTrigger() = 0;             // queued click of the hidden send trigger button
};

// The printer's network parameters as read back at an Ethernet connect.
struct NetParams {
    uint32_t ip = 0;
    uint32_t mask = 0;
    uint32_t gateway = 0;
    uint32_t dns = 0;
    int dhcpIndex = 0;
    bool valid = false;   // false: the reply was shorter than 17 bytes
};

struct ConnectOutcome {
    bool connected = false;
    NetParams net;        // Ethernet only
};

class Link {
public:
    Link(LinkHost& host, Platform& platform);

    PortHandle g_hPort;
    LinkKind g_linkKind = LinkKind::None;
    int g_connected = 0;
    SerialSettings g_dcb;
    Timeouts g_timeouts;
    std::array<uint8_t, kNetBufSize> g_netBuf{};
    int g_netLen = 0;
    std::string g_printerIp;
    uint16_t m_tcpPort = kPrinterTcpPort;

    // Closes the device and opens it again from the host's current port and baud texts.
    void ReopenPort();

    // Step 1 of the delivery rule: a failed USB open is reported once and cleared.
    // Returns false when the command must be abandoned.
    bool CheckPortHandle();
    // Steps 3 to 5 of the delivery rule for a port text read once by the caller.
    void Deliver(const std::string& portText, const uint8_t* data, size_t n, Delivery form);
    // The whole delivery rule.
    void SendToPrinter(const Bytes& bytes, Delivery form);

    // Sends the pending network command on a connection of its own (the send trigger).
    // Returns true when every byte was handed to the printer's connection.
    bool SendPendingNetData();

    // The opening half of the connect button: opens the port, or checks the printer on
    // the network and reads back its parameters. Shows its own messages.
    ConnectOutcome Connect();
    // Closes the device; the connected flag drops.
    void Disconnect();

    // Sends one command once on a short connection of its own, 80 ms after the
    // connect call (network parameter save). Checks the printer address first.
    bool SendOnceOverTcp(const Bytes& bytes);

    // Retry bound of SendPendingNetData, in milliseconds without a successful send.
    int m_sendRetryLimitMs = 3000;

    // Serialises the cutter worker's use of the link with the UI thread's.
    std::recursive_mutex m_lock;

private:
    void CloseHandle();
    bool OpenUsb();
    void WriteToPort(const uint8_t* data, size_t n);
    bool OpenSerial(const std::string& portText, const std::string& baudText);
    void FinishOpen();
    // Checks the printer address control; returns false after showing why it cannot be used.
    bool CheckPrinterAddress(std::string_view incompleteText, AddressEntry& address);
    ConnectOutcome ConnectNetwork();

    LinkHost& m_host;
    Platform& m_platform;
};

uint32_t BaudFromText(const std::string& text);

} // namespace tallyx
