#include "vprinter/interpret/DeviceExecutor.h"

namespace tallyx::vprinter {

namespace {
// GS V m: 0, 48 full and 1, 49 partial; from 65 up in pairs, full first (65 66, 97 98, 103 104).
bool PartialCut(uint8_t m)
{
    return m >= 65 ? (m & 1) == 0 : (m & 1) == 1;
}
} // namespace

std::string DeviceExecutor::Execute(const Command& cmd)
{
    const Bytes& header = cmd.header;
    const uint8_t n = cmd.Arg();
    switch (cmd.def.op) {
    case Op::DrawerPulse:
        return std::string("pin ") + ((n & 1) ? "5" : "2") + ", on " + std::to_string(2 * header[3]) + " ms, off " +
               std::to_string(2 * header[4]) + " ms";
    case Op::Beep: {
        std::string detail = std::to_string(n) + " times, " + std::to_string(50 * header[3]) + " ms each";
        if (!m_ctx.state.buzzer) detail += " (buzzer switched off: silent)";
        return detail;
    }
    case Op::Cut: {
        if (!m_ctx.state.cutter) return "cutter switched off: not cut";
        if (header.size() == 4) m_ctx.layout.FeedDots(m_ctx.DotsAlong(header[3]));
        m_ctx.layout.FlushLine();
        const bool partial = header[0] == 0x1B || PartialCut(header[2]);
        m_ctx.EndReceipt(partial ? CutKind::Partial : CutKind::Full);
        return partial ? "partial cut, receipt ended" : "receipt ended";
    }
    case Op::NetworkQuery:
        m_ctx.Reply(NetworkReply(m_ctx.state.network));
        return "answered with 22 bytes";
    default: return "";
    }
}

} // namespace tallyx::vprinter
