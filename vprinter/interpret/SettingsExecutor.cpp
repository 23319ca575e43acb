#include "vprinter/interpret/SettingsExecutor.h"

#include "vprinter/interpret/PrinterTexts.h"
#include "vprinter/text/CodePages.h"

namespace tallyx::vprinter {

namespace {

// 0/1 (or '0'/'1') for the two-valued vendor settings; -1 otherwise.
int Binary(uint8_t p)
{
    if (p <= 1) return p;
    if (p == '0' || p == '1') return p - '0';
    return -1;
}

} // namespace

std::string OnOffText(bool on) { return std::string(on ? kSelfTestOn : kSelfTestOff); }

std::string SettingsExecutor::Execute(const Command& cmd)
{
    const Op op = cmd.def.op;
    if (op == Op::SelfTest) {
        PrintSelfTestPage(m_ctx);
        return "";
    }
    if (op == Op::NetworkSetting) return Network(cmd.header);
    PrinterState& state = m_ctx.state;
    const uint8_t p = cmd.header.back();
    const std::string invalid = "invalid value " + std::to_string(p) + ", ignored";
    switch (op) {
    case Op::SetBaud:
        if (p > 5) return invalid;
        state.baudIndex = p;
        m_ctx.ChangeState();
        return std::to_string(BaudOfIndex(p));
    case Op::SetPrintMode:
        if (p > 1) return invalid;
        state.printMode = p;
        m_ctx.chinese = p == 1;
        m_ctx.ChangeState();
        return p ? "Chinese" : "single-byte";
    case Op::SetDensity:
        if (p < 1 || p > 4) return invalid;
        state.density = p;
        m_ctx.ChangeState();
        return "level " + std::to_string(p);
    case Op::BuzzerSetting:
    case Op::CutterSetting: {
        int on = Binary(p);
        if (on < 0) return invalid;
        (op == Op::BuzzerSetting ? state.buzzer : state.cutter) = on == 1;
        m_ctx.ChangeState();
        return OnOffText(on == 1);
    }
    case Op::FontSetting:
        if (p > 2) return invalid;
        state.font = p;
        m_ctx.ChangeState();
        return "Font_" + std::to_string(p + 1);
    case Op::CodePageSetting:
        state.codePage = p;
        m_ctx.codePage = p;
        m_ctx.ChangeState();
        return CodePageText(p);
    case Op::FactoryReset:
        state = FactoryState(m_ctx.profile);
        m_ctx.chinese = state.printMode == 1;
        m_ctx.codePage = state.codePage;
        m_ctx.ChangeState();
        return "defaults restored";
    default: return "";
    }
}

std::string SettingsExecutor::Network(const Bytes& h)
{
    const uint8_t dhcp = h[20];
    if (dhcp != kDhcpOff && dhcp != kDhcpOn) return "invalid DHCP flag " + std::to_string(dhcp) + ", ignored";
    NetworkParams& net = m_ctx.state.network;
    // With DHCP on the addresses come from the network, not from the command.
    if (dhcp == kDhcpOff) {
        for (int i = 0; i < 4; ++i) {
            net.ip[i] = h[4 + i];
            net.mask[i] = h[8 + i];
            net.gateway[i] = h[12 + i];
            net.dns[i] = h[16 + i];
        }
    }
    net.dhcp = dhcp;
    m_ctx.ChangeState();
    if (dhcp == kDhcpOn) return "DHCP on";
    return DottedText(net.ip) + " / " + DottedText(net.mask) + " / " + DottedText(net.gateway) + " / " +
           DottedText(net.dns) + ", DHCP off";
}

} // namespace tallyx::vprinter
