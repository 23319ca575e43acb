#pragma once
// What the operator reads for each link fault: one row per fault, read by the window
// (message box, focus) and by the command line (text, exit status).
#include <array>
#include <cassert>
#include <string_view>

#include "res/FaultKinds.h"
#include "res/MainWindowIds.h"
#include "res/Messages.h"
#include "res/Types.h"

namespace tallyx {

inline constexpr int kExitInputRefused = 2;   // the operator's input cannot be used
inline constexpr int kExitLinkFailed = 3;     // the port, the USB printer or the network failed

struct FaultText {
    LinkFault fault;
    std::string_view caption;   // empty: the window shows nothing
    std::string_view text;
    int focusId;                // control focused after the box (window only), 0: none
    int exitStatus;             // the command line's
    std::string_view cliText;   // standard error; empty: the same as text
};

namespace fault {
inline constexpr int kPrinterAddress = id::main::kPrinterAddress;
inline constexpr int kIn = kExitInputRefused, kLink = kExitLinkFailed;
} // namespace fault


// In the order of LinkFault.
inline constexpr std::array<FaultText, 20> kFaults{{
    {LinkFault::None, {}, {}, 0, 0, {}},
    {LinkFault::PortBusy, kCaptionWarning, kMsgPortBusy, 0, fault::kLink, {}},
    // The framework's application box reports a USB open that failed earlier.
    {LinkFault::UsbOpenFailed, kCaptionApp, kMsgPortBusy, 0, fault::kLink, {}},
    {LinkFault::NoUsbDevice, kCaptionTool, kMsgNoUsbDevice, 0, fault::kLink, {}},
    {LinkFault::UsbNotOpened, {}, {}, 0, fault::kLink, kTextUsbNotOpened},
    {LinkFault::AddressBlank, kCaptionTool, kMsgRemoteIpEmpty, fault::kPrinterAddress, fault::kIn, {}},
    {LinkFault::AddressIncomplete, kCaptionTool, kMsgConnectIpIncomplete, fault::kPrinterAddress, fault::kIn, {}},
    {LinkFault::SendAddressIncomplete, kCaptionTool, kMsgSendIpIncomplete, fault::kPrinterAddress, fault::kIn, {}},
    {LinkFault::SocketFailed, kCaptionError, kMsgSocketFailed, 0, fault::kLink, {}},
    {LinkFault::NotReached, kCaptionTool, kMsgConnectFailed, 0, fault::kLink, {}},
    {LinkFault::CutOff, kCaptionTool, kMsgConnectFailed, 0, fault::kLink, {}},
    // The connect goes on with empty parameter fields; only the query command says so.
    {LinkFault::ReplyShort, {}, {}, 0, fault::kLink, kTextShortReply},
    {LinkFault::SaveFailed, kCaptionTool, kMsgNetSaveFailed, 0, fault::kLink, {}},
    // Write results are not shown per command in the window.
    {LinkFault::WriteTimeout, {}, {}, 0, fault::kLink, kTextWriteTimeout},
    {LinkFault::Stopped, {}, {}, 0, fault::kLink, kTextStopped},
    // The window stays as silent as it is for a write that fails; the send log and the
    // command line still say the bytes went nowhere.
    {LinkFault::NotWritten, {}, {}, 0, fault::kLink, kTextNotWritten},
    {LinkFault::Disconnected, {}, {}, 0, fault::kLink, kTextDisconnected},
    {LinkFault::NoReply, {}, {}, 0, fault::kLink, kTextNoReply},
    {LinkFault::BadReply, {}, {}, 0, fault::kLink, kTextBadReply},
    {LinkFault::TooLong, kCaptionTool, kMsgCommandTooLong, 0, fault::kIn, {}},
}};

constexpr bool FaultsInOrder()
{
    for (size_t i = 0; i < kFaults.size(); ++i)
        if (size_t(kFaults[i].fault) != i) return false;
    return true;
}
static_assert(FaultsInOrder(), "one row per fault, in the order of LinkFault");

inline const FaultText& FaultRow(LinkFault fault)
{
    assert(size_t(fault) < kFaults.size());
    return kFaults[size_t(fault)];
}
// The window's message box for a fault; an empty caption shows nothing.
inline Message FaultMessage(LinkFault fault)
{
    const FaultText& row = FaultRow(fault);
    return Message{row.caption, row.text, row.focusId};
}
inline std::string_view FaultCliText(LinkFault fault)
{
    const FaultText& row = FaultRow(fault);
    return row.cliText.empty() ? row.text : row.cliText;
}

} // namespace tallyx
