#pragma once
// The questions the tool asks a printer, put to the link: the network parameters at a
// network connect, and the status with the printer's identity.
#include <optional>
#include <stop_token>
#include <string>

#include "commands/NetworkParams.h"
#include "commands/PrinterStatus.h"
#include "link/Link.h"

namespace tallyx {

NetQuery NetworkParamQuery();

struct StatusReport {
    // The link's fault; NoReply when DLE EOT 1 was not answered; BadReply when a status
    // answer is not a status byte.
    Outcome outcome;
    PrinterStatus status;
    // nullopt: the printer did not answer that question (or not in its layout).
    std::optional<std::string> firmware, maker, model, serial;
    bool ok() const { return outcome.ok(); }
};

// DLE EOT 1-4 (required), then GS I 65-68 (a printer may not know them) unless left out.
std::vector<QueryStep> StatusQuerySteps(bool withIdentity = true);
// Over the link as it stands (the port open, or the printer address for the network).
StatusReport ReadPrinterStatus(Link& link, std::stop_token stop = {}, bool withIdentity = true);

} // namespace tallyx
