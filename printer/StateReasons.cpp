#include "printer/StateReasons.h"

namespace tallyx::printer {

pappl_preason_t StateReasons(const std::optional<PrinterStatus>& status)
{
    if (!status) return PAPPL_PREASON_OFFLINE;
    const PrinterStatus& s = *status;
    unsigned reasons = PAPPL_PREASON_NONE;
    if (s.paper == PaperLevel::Out || s.stoppedAtPaperEnd) reasons |= PAPPL_PREASON_MEDIA_EMPTY | PAPPL_PREASON_MEDIA_NEEDED;
    else if (s.paper == PaperLevel::NearEnd) reasons |= PAPPL_PREASON_MEDIA_LOW;
    if (s.coverOpen) reasons |= PAPPL_PREASON_DOOR_OPEN;
    if (s.cutterError || s.unrecoverable || s.autoRecoverable || s.errorOccurred) reasons |= PAPPL_PREASON_OTHER;
    // Off line with none of the causes above: its own switch, or a cause it does not say.
    if (s.offline && reasons == PAPPL_PREASON_NONE) reasons |= PAPPL_PREASON_OFFLINE;
    return pappl_preason_t(reasons);
}

std::optional<PrinterStatus> AskStatus(const Exchange& exchange)
{
    PrinterStatus status;
    for (const StatusKind kind :
         {StatusKind::Printer, StatusKind::OfflineCause, StatusKind::ErrorCause, StatusKind::PaperSensor}) {
        const std::optional<uint8_t> reply = exchange(BuildStatusRequest(kind));
        if (!reply || !DecodeStatusByte(kind, *reply, status)) return std::nullopt;
    }
    return status;
}

} // namespace tallyx::printer
