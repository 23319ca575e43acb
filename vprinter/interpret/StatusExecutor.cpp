#include "vprinter/interpret/StatusExecutor.h"

#include "vprinter/device/CommandLog.h"

namespace tallyx::vprinter {

namespace {

struct AsbItem {
    uint8_t bit;
    std::string_view name;
};
constexpr AsbItem kAsbItems[] = {
    {kAsbDrawer, "drawer"}, {kAsbOnline, "online"}, {kAsbError, "error"}, {kAsbPaper, "paper"}};

constexpr std::string_view kNotAnswered = "not answered (silent)";

} // namespace

StatusExecutor::StatusExecutor(PrintContext& ctx, PrinterIdentity identity)
    : Executor(ctx), m_identity(std::move(identity))
{
}

std::string StatusExecutor::Execute(const Command& cmd)
{
    const uint8_t n = cmd.Arg();
    switch (cmd.def.op) {
    case Op::RealTimeStatus:
    case Op::StatusRequest:
    case Op::PrinterId:
        if (m_silent) return std::string(kNotAnswered);
        break;
    default: break;
    }
    switch (cmd.def.op) {
    case Op::RealTimeStatus: {
        if (n < 1 || n > 4) return "";
        const Bytes reply{RealTimeStatusByte(m_status, n)};
        m_ctx.Reply(reply);
        return "answered " + HexPairs(reply);
    }
    case Op::StatusRequest: {
        const Bytes reply{TransmitStatusByte(m_status, n)};
        m_ctx.Reply(reply);
        return "answered " + HexPairs(reply);
    }
    case Op::PrinterId: {
        const auto reply = IdentityReply(m_identity, n);
        if (!reply) return "not answered";
        m_ctx.Reply(*reply);
        return "answered \"" + PrintableText(Bytes(reply->begin() + 1, reply->end() - 1)) + "\"";
    }
    case Op::StatusEnable: return EnableAsb(n);
    default: return "";
    }
}

// GS a n: the status goes back at once, then whenever an item asked for changes.
std::string StatusExecutor::EnableAsb(uint8_t items)
{
    items &= kAsbDrawer | kAsbOnline | kAsbError | kAsbPaper;
    if (m_ctx.hooks.statusBack) m_ctx.hooks.statusBack(m_ctx.link, items);
    if (items == 0) {
        m_asb.erase(m_ctx.link);
        return "off";
    }
    m_asb[m_ctx.link] = items;
    std::string names;
    for (const AsbItem& item : kAsbItems) {
        if (!(items & item.bit)) continue;
        if (!names.empty()) names += ", ";
        names += item.name;
    }
    const Bytes status = AsbBytes(m_status);
    if (m_silent) return "on for " + names + "; " + std::string(kNotAnswered);
    m_ctx.Reply(status);
    return "on for " + names + "; sent " + HexPairs(status);
}

void StatusExecutor::SetStatus(const DeviceStatus& status, const PushFn& push)
{
    const uint8_t changed = AsbChanges(m_status, status);
    m_status = status;
    if (!changed || !push || m_silent) return;
    const Bytes asb = AsbBytes(m_status);
    for (const auto& [link, items] : m_asb)
        if (items & changed) push(link, asb);
}

} // namespace tallyx::vprinter
