// 1F 1B 1D 02, four addresses leftmost field first, then the DHCP byte.
#include "commands/NetworkParams.h"

#include "res/MainWindowIds.h"
#include "res/Messages.h"

namespace tallyx {
namespace {

struct AddressCheck {
    const AddressEntry& entry;
    int controlId;
    std::string_view blank;
    std::string_view incomplete;
};

} // namespace

Result BuildNetworkParamCommand(const NetworkParamInput& in)
{
    Bytes out{0x1F, 0x1B, 0x1D, 0x02};
    if (in.dhcpIndex == 0) {
        const AddressCheck checks[] = {
            {in.ip, id::main::kNetIp, kMsgSetIpEmpty, kMsgSetIpIncomplete},
            {in.mask, id::main::kNetMask, kMsgSetMaskEmpty, kMsgSetMaskIncomplete},
            {in.gateway, id::main::kNetGateway, kMsgSetGatewayEmpty, kMsgSetGatewayIncomplete},
            {in.dns, id::main::kNetDns, kMsgSetDnsEmpty, kMsgSetDnsIncomplete},
        };
        for (const AddressCheck& c : checks) {
            if (c.entry.Blank()) return Message{kCaptionTool, c.blank, c.controlId};
            if (!c.entry.Complete()) return Message{kCaptionTool, c.incomplete, c.controlId};
        }
        for (const AddressEntry* a : {&in.ip, &in.mask, &in.gateway, &in.dns})
            out.insert(out.end(), a->octets.begin(), a->octets.end());
    } else {
        // DHCP on (or nothing selected): the printer ignores the addresses.
        out.insert(out.end(), 16, 0x00);
    }
    // Low 8 bits of index + 1: "NO" 01, "YES" 02, nothing selected 00.
    out.push_back(uint8_t((in.dhcpIndex + 1) & 0xFF));
    return out;
}

Bytes BuildNetQuery() { return {0x10, 0x04, 0x13}; }

NetParams DecodeNetReply(const uint8_t* reply, size_t length)
{
    // A short reply would leave part of the parameters undefined: none of them is taken.
    if (length < kNetReplyUsed) return {};
    const auto address = [reply](size_t at) {
        return uint32_t(reply[at]) << 24 | uint32_t(reply[at + 1]) << 16 | uint32_t(reply[at + 2]) << 8 | reply[at + 3];
    };
    return NetParams{address(0), address(4), address(8), address(12), int(reply[16]) - 1, true};
}

} // namespace tallyx
