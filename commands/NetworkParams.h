#pragma once
// The 21-byte network parameter command of the network save button.
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

} // namespace tallyx
