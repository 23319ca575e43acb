#pragma once
// The 21-byte network parameter command of the network save button, and the query
// that reads the parameters back at a network connect.
#include "res/Types.h"

namespace tallyx {

struct NetworkParamInput {
    int dhcpIndex = 0;          // DHCP combo: 0 "NO", 1 "YES", -1 nothing selected
    AddressEntry ip;
    AddressEntry mask;
    AddressEntry gateway;
    AddressEntry dns;
};

// Checks (only with DHCP "NO") in the order IP, mask, gateway, DNS; blank before
// complete. A refusal carries the control id to focus.
Result BuildNetworkParamCommand(const NetworkParamInput& in);

// The printer's network parameters as read back at an Ethernet connect.
struct NetParams {
    uint32_t ip = 0;
    uint32_t mask = 0;
    uint32_t gateway = 0;
    uint32_t dns = 0;
    int dhcpIndex = 0;
    bool valid = false;   // false: the reply was too short to hold them
};

inline constexpr size_t kNetReplySize = 22;   // the query reads at most this much
inline constexpr size_t kNetReplyUsed = 17;   // four addresses and the DHCP byte
// DLE EOT 19: report network parameters.
Bytes BuildNetQuery();
// Addresses first octet first, then the DHCP byte (1 "NO", 2 "YES").
NetParams DecodeNetReply(const uint8_t* reply, size_t length);
inline NetParams DecodeNetReply(const Bytes& reply) { return DecodeNetReply(reply.data(), reply.size()); }

} // namespace tallyx
