#pragma once
// The kinds of link fault: below both the link, which returns them, and the fault table,
// which says what the operator reads for each.
#include <cstdint>

namespace tallyx {

enum class LinkFault : uint8_t {
    None,
    PortBusy,            // the serial device could not be opened (busy, missing or not a port)
    UsbOpenFailed,       // the last USB open failed; reported by the next command
    NoUsbDevice,         // no USB printer-class interface present
    UsbNotOpened,        // the USB device list or the device's node could not be read
    AddressBlank,        // the printer address holds no field
    AddressIncomplete,   // connect: some fields of the printer address are empty
    SendAddressIncomplete,   // a command's send: some fields of the printer address are empty
    SocketFailed,        // no socket could be made
    NotReached,          // the printer took no byte within the bound
    CutOff,              // part of the command went out, then the connection broke
    ReplyShort,          // the network query's reply was too short to use
    SaveFailed,          // the network parameter save could not be sent
    WriteTimeout,        // a serial or USB write or drain did not finish within its bound
    Stopped,             // a stop was requested while waiting
    NotWritten,          // no device was open: the bytes went nowhere
    Disconnected,        // the link was disconnected since the work was given its target
    NoReply,             // the printer did not answer a query within its bound
    BadReply,            // the answer does not have the layout asked for
    TooLong,             // the command is longer than the network buffer holds
};

} // namespace tallyx
