#include "commands/PrinterStatus.h"

namespace tallyx {

namespace {
constexpr uint8_t kDle = 0x10, kEot = 0x04, kGs = 0x1D, kI = 0x49;

struct StatusBit {
    StatusKind kind;
    uint8_t mask;   // every bit of the mask set means the field is true
    bool PrinterStatus::*field;
};
// The reply layouts of DLE EOT 1-3; the paper sensor's two-bit pairs are decoded below.
constexpr StatusBit kStatusBits[] = {
    {StatusKind::Printer, 0x04, &PrinterStatus::drawerPinHigh},
    {StatusKind::Printer, 0x08, &PrinterStatus::offline},
    {StatusKind::Printer, 0x20, &PrinterStatus::waitingForRecovery},
    {StatusKind::Printer, 0x40, &PrinterStatus::feedButton},
    {StatusKind::OfflineCause, 0x04, &PrinterStatus::coverOpen},
    {StatusKind::OfflineCause, 0x08, &PrinterStatus::fedByButton},
    {StatusKind::OfflineCause, 0x20, &PrinterStatus::stoppedAtPaperEnd},
    {StatusKind::OfflineCause, 0x40, &PrinterStatus::errorOccurred},
    {StatusKind::ErrorCause, 0x08, &PrinterStatus::cutterError},
    {StatusKind::ErrorCause, 0x20, &PrinterStatus::unrecoverable},
    {StatusKind::ErrorCause, 0x40, &PrinterStatus::autoRecoverable},
};
constexpr uint8_t kNearEndBits = 0x0C;
constexpr uint8_t kPaperEndBits = 0x60;
} // namespace

Bytes BuildStatusRequest(StatusKind kind) { return {kDle, kEot, uint8_t(kind)}; }

Bytes BuildIdentityRequest(IdentityKind kind) { return {kGs, kI, uint8_t(kind)}; }

bool DecodeStatusByte(StatusKind kind, uint8_t reply, PrinterStatus& into)
{
    if ((reply & kStatusFixedMask) != kStatusFixedValue) return false;
    if (kind == StatusKind::PaperSensor) {
        // Printers set both bits of a pair; either one alone is taken as the sensor's word.
        into.paper = (reply & kPaperEndBits)   ? PaperLevel::Out
                   : (reply & kNearEndBits)    ? PaperLevel::NearEnd
                                               : PaperLevel::Ok;
        return true;
    }
    for (const StatusBit& bit : kStatusBits)
        if (bit.kind == kind) into.*bit.field = (reply & bit.mask) == bit.mask;
    return true;
}

bool IdentityReplyComplete(std::string_view reply)
{
    return reply.find('\0') != std::string_view::npos || reply.size() > kIdentityMaxText + 1;
}

std::optional<std::string> DecodeIdentityReply(std::string_view reply)
{
    if (reply.size() < 2 || reply.front() != '_' || reply.back() != '\0') return std::nullopt;
    const std::string_view text = reply.substr(1, reply.size() - 2);
    if (text.size() > kIdentityMaxText) return std::nullopt;
    for (const char c : text)
        if (uint8_t(c) < 0x20 || uint8_t(c) == 0x7F) return std::nullopt;
    return std::string(text);
}

bool CanPrint(const PrinterStatus& s)
{
    return !s.offline && !s.coverOpen && s.paper != PaperLevel::Out && !s.cutterError && !s.unrecoverable &&
           !s.autoRecoverable && !s.errorOccurred;
}

} // namespace tallyx
