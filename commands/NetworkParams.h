#pragma once
// The 21-byte network parameter command of the save button 1039.
#include "res/Types.h"

namespace tallyx {

struct NetworkParamInput {
    int dhcpIndex = 0;          // combo 1076: 0 "NO", 1 "YES", -1 nothing selected
    AddressEntry ip;            // 1022
    AddressEntry mask;          // 1024
    AddressEntry gateway;       // 1023
    AddressEntry dns;           // 1025
};

// Checks (only with DHCP "NO") in the order IP, mask, gateway, DNS; blank before
// complete. A refusal carries the control id to focus.
Result BuildNetworkParamCommand(const NetworkParamInput& in);

} // namespace tallyx
