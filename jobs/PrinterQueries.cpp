#include "jobs/PrinterQueries.h"

namespace tallyx {

namespace {
constexpr StatusKind kStatusKinds[] = {StatusKind::Printer, StatusKind::OfflineCause, StatusKind::ErrorCause,
                                       StatusKind::PaperSensor};
constexpr IdentityKind kIdentityKinds[] = {IdentityKind::Firmware, IdentityKind::Maker, IdentityKind::Model,
                                           IdentityKind::Serial};

std::string_view AsText(const Bytes& reply) { return {reinterpret_cast<const char*>(reply.data()), reply.size()}; }

std::optional<std::string>& IdentityField(StatusReport& report, IdentityKind kind)
{
    switch (kind) {
    case IdentityKind::Firmware: return report.firmware;
    case IdentityKind::Maker: return report.maker;
    case IdentityKind::Model: return report.model;
    case IdentityKind::Serial: break;
    }
    return report.serial;
}
} // namespace

NetQuery NetworkParamQuery() { return NetQuery{BuildNetQuery(), kNetReplySize, kNetReplyUsed}; }

std::vector<QueryStep> StatusQuerySteps(bool withIdentity)
{
    std::vector<QueryStep> steps;
    for (const StatusKind kind : kStatusKinds)
        steps.push_back({BuildStatusRequest(kind), [](const Bytes& r) { return r.size() >= kStatusReplySize; },
                         kStatusReplySize, true});
    if (!withIdentity) return steps;
    for (const IdentityKind kind : kIdentityKinds)
        steps.push_back({BuildIdentityRequest(kind),
                         [](const Bytes& r) { return IdentityReplyComplete(AsText(r)); },
                         kIdentityMaxText + 2, false});
    return steps;
}

StatusReport ReadPrinterStatus(Link& link, std::stop_token stop, bool withIdentity)
{
    const std::vector<QueryAnswer> answers = link.Query(StatusQuerySteps(withIdentity), stop);

    StatusReport report;
    for (size_t i = 0; i < std::size(kStatusKinds); ++i) {
        const QueryAnswer& a = answers[i];
        if (!a.outcome.ok()) {
            report.outcome = a.outcome;
            return report;
        }
        if (!DecodeStatusByte(kStatusKinds[i], a.reply[0], report.status)) {
            report.outcome = Outcome{LinkFault::BadReply};
            return report;
        }
    }
    for (size_t i = 0; withIdentity && i < std::size(kIdentityKinds); ++i) {
        const QueryAnswer& a = answers[std::size(kStatusKinds) + i];
        if (a.outcome.fault == LinkFault::Stopped) {
            report.outcome = a.outcome;
            return report;
        }
        if (a.outcome.ok())
            IdentityField(report, kIdentityKinds[i]) =
                DecodeIdentityReply(AsText(a.reply));
    }
    return report;
}

} // namespace tallyx
