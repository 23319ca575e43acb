#include "vprinter/device/DeviceStatus.h"

#include "res/Version.h"
#include "vprinter/paper/LineLayout.h"

namespace tallyx::vprinter {

namespace {
// Bits 1 and 4 of every DLE EOT reply are fixed on.
constexpr uint8_t kRealTimeFixed = 0x12;
constexpr uint8_t kAsbFixed = 0x10;   // bit 4 of the first byte
constexpr uint8_t kIdentityLead = '_';

bool NearEnd(const DeviceStatus& s)
{
    // An empty roll is past its near end too.
    return s.paperNearEnd || s.paperOut;
}

uint8_t Bit(bool on, uint8_t mask)
{
    return on ? mask : 0;
}
} // namespace

std::optional<DeviceStatus> ParseStatusList(std::string_view list, std::string* bad)
{
    DeviceStatus status;
    if (list.empty()) return status;
    for (;;) {
        const size_t comma = list.find(',');
        const std::string_view word = list.substr(0, comma);
        const StatusCondition* found = nullptr;
        for (const StatusCondition& c : kStatusConditions)
            if (c.word == word) found = &c;
        if (!found) {   // an empty word too: "paper-out," is a typo, not a list
            if (bad) *bad = word;
            return std::nullopt;
        }
        status.*found->field = true;
        if (comma == std::string_view::npos) return status;
        list = list.substr(comma + 1);
    }
}

std::string StatusListText(const DeviceStatus& s)
{
    std::string text;
    for (const StatusCondition& c : kStatusConditions) {
        if (!(s.*c.field)) continue;
        if (!text.empty()) text += ',';
        text += c.word;
    }
    return text;
}

std::string StatusWords()
{
    std::string text;
    for (const StatusCondition& c : kStatusConditions) {
        if (!text.empty()) text += ", ";
        text += c.word;
    }
    return text;
}

std::string_view StopReason(const DeviceStatus& s)
{
    if (s.coverOpen) return "cover open";
    if (s.paperOut) return "paper out";
    if (s.cutterError) return "cutter error";
    if (s.offline) return "offline";
    return {};
}

bool ReportsOffline(const DeviceStatus& s)
{
    return !StopReason(s).empty();
}

uint8_t RealTimeStatusByte(const DeviceStatus& s, uint8_t n)
{
    switch (n) {
    case 1:   // printer: drawer pin, off line, waiting for recovery (a recoverable error holds)
        return kRealTimeFixed | Bit(s.drawerOpen, 0x04) | Bit(ReportsOffline(s), 0x08) | Bit(s.cutterError, 0x20);
    case 2:   // why off line: cover, stopped at the paper end, an error
        return kRealTimeFixed | Bit(s.coverOpen, 0x04) | Bit(s.paperOut, 0x20) | Bit(s.cutterError, 0x40);
    case 3:   // which error: the autocutter
        return kRealTimeFixed | Bit(s.cutterError, 0x08);
    case 4:   // roll paper sensors: near end (bits 2, 3), end (bits 5, 6)
        return kRealTimeFixed | Bit(NearEnd(s), 0x0C) | Bit(s.paperOut, 0x60);
    default: return kRealTimeFixed;
    }
}

uint8_t TransmitStatusByte(const DeviceStatus& s, uint8_t n)
{
    if (n == 1 || n == 49) return Bit(NearEnd(s), 0x03) | Bit(s.paperOut, 0x0C);
    if (n == 2 || n == 50) return Bit(s.drawerOpen, 0x01);
    return 0x00;
}

Bytes AsbBytes(const DeviceStatus& s)
{
    return {
        uint8_t(kAsbFixed | Bit(s.drawerOpen, 0x04) | Bit(ReportsOffline(s), 0x08) | Bit(s.coverOpen, 0x20)),
        uint8_t(Bit(s.cutterError, 0x01) | Bit(s.cutterError, 0x08)),   // waiting for recovery, autocutter
        uint8_t(Bit(NearEnd(s), 0x03) | Bit(s.paperOut, 0x0C)),
        0x00,
    };
}

uint8_t AsbChanges(const DeviceStatus& before, const DeviceStatus& after)
{
    uint8_t changed = 0;
    if (before.drawerOpen != after.drawerOpen) changed |= kAsbDrawer;
    if (ReportsOffline(before) != ReportsOffline(after) || before.coverOpen != after.coverOpen)
        changed |= kAsbOnline;
    if (before.cutterError != after.cutterError) changed |= kAsbError;
    if (NearEnd(before) != NearEnd(after) || before.paperOut != after.paperOut) changed |= kAsbPaper;
    return changed;
}

PrinterIdentity DefaultIdentity(int paperDots)
{
    PrinterIdentity id;
    id.firmware = kVersion;
    id.model = paperDots == kPaper80Dots ? "tallyx virtual printer 80" : "tallyx virtual printer 58";
    return id;
}

std::optional<Bytes> IdentityReply(const PrinterIdentity& id, uint8_t n)
{
    const std::string* text = n == 65 ? &id.firmware : n == 66 ? &id.maker : n == 67 ? &id.model
                            : n == 68 ? &id.serial : nullptr;
    if (!text) return std::nullopt;
    Bytes reply{kIdentityLead};
    reply.insert(reply.end(), text->begin(), text->end());
    reply.push_back(0x00);
    return reply;
}

} // namespace tallyx::vprinter
