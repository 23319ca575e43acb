#pragma once
// What the printer's status answers come to as IPP printer-state-reasons, and the status
// questions asked of it.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>

#include <pappl/pappl.h>

#include "commands/PrinterStatus.h"

namespace tallyx::printer {

// nullopt: the printer did not answer.
pappl_preason_t StateReasons(const std::optional<PrinterStatus>& status);

// DLE EOT 1 to 4 through `exchange` (request out, one reply byte in, nullopt when none came).
// nullopt when the first question goes unanswered or an answer is not a status byte.
using Exchange = std::function<std::optional<uint8_t>(const Bytes& request)>;
std::optional<PrinterStatus> AskStatus(const Exchange& exchange);

} // namespace tallyx::printer
