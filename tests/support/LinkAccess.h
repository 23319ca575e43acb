#pragma once
// The link's private state as a test sets it up or looks at it: what the window's own
// steps would have left there.
#include "link/Link.h"
#include "link/SerialTransport.h"

namespace tallyx {

struct LinkTestAccess {
    static Transport* Current(Link& l) { return l.m_transport.get(); }
    // The network holds no device: its handle reads as none.
    static PortHandle Port(Link& l)
    {
        auto* device = dynamic_cast<DevicePort*>(l.m_transport.get());
        return device ? device->Handle() : PortHandle{};
    }
    static NetworkTransport& Net(Link& l) { return dynamic_cast<NetworkTransport&>(*l.m_transport); }
    static int& NetLen(Link& l) { return Net(l).g_netLen; }
    static std::array<uint8_t, kNetBufSize>& NetBuf(Link& l) { return Net(l).g_netBuf; }
    static uint32_t BaudRate(Link& l) { return dynamic_cast<SerialTransport&>(*l.m_transport).BaudRate(); }
};

} // namespace tallyx
