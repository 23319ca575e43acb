#pragma once
// The link's private state as a test sets it up or looks at it: what the window's own
// steps would have left there.
#include "link/Link.h"

namespace tallyx {

struct LinkTestAccess {
    static PortHandle& Port(Link& l) { return l.g_hPort; }
    static int& NetLen(Link& l) { return l.g_netLen; }
    static std::array<uint8_t, kNetBufSize>& NetBuf(Link& l) { return l.g_netBuf; }
    static std::string& PrinterIp(Link& l) { return l.g_printerIp; }
    static uint32_t BaudRate(Link& l) { return l.m_baudRate; }
};

} // namespace tallyx
