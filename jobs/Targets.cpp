#include "jobs/Targets.h"

#include <string>

#include "res/Combos.h"

namespace tallyx {

uint32_t BaudFromText(std::string_view text)
{
    for (const Choice& c : combo::kBauds)
        if (text == c.item) return uint32_t(std::stoul(std::string(c.item)));
    return 9600;
}

LinkKind PortKind(std::string_view portText)
{
    if (portText == combo::kPorts[combo::kPortUsbIndex].item) return LinkKind::Usb;
    if (portText == combo::kPorts[combo::kPortEthernetIndex].item) return LinkKind::Network;
    return LinkKind::Serial;
}

Target TargetFromChoices(std::string_view portText, std::string_view baudText, AddressEntry address, uint16_t tcpPort)
{
    Target target;
    target.kind = PortKind(portText);
    if (target.kind == LinkKind::Serial) {
        target.path = std::string(portText);
        target.baud = BaudFromText(baudText);
    }
    target.address = address;
    target.port = tcpPort;
    return target;
}

} // namespace tallyx
