#pragma once
// The operator's choices made into a Target, once: the port combo's text names the kind
// ("USB", "Ethernet", anything else a serial device), the baud combo's the rate.
#include <string_view>

#include "link/Target.h"

namespace tallyx {

// An item of the baud list is its rate; any other text is 9600.
uint32_t BaudFromText(std::string_view text);
// Compared as exact, case-sensitive texts.
LinkKind PortKind(std::string_view portText);
Target TargetFromChoices(std::string_view portText, std::string_view baudText, AddressEntry address,
                         uint16_t tcpPort = kPrinterTcpPort);

} // namespace tallyx
