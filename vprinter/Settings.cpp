// The commands that change what the printer stores, and the self-test page that lists it.
#include "vprinter/Interpreter.h"
#include "vprinter/PrinterTexts.h"

namespace tallyx::vprinter {

namespace {

std::string Flag(bool on) { return std::string(on ? kSelfTestOn : kSelfTestOff); }

// 0/1 (or '0'/'1') for the two-valued vendor settings; -1 otherwise.
int Binary(uint8_t p)
{
    if (p <= 1) return p;
    if (p == '0' || p == '1') return p - '0';
    return -1;
}

} // namespace

void Interpreter::ChangeState()
{
    if (m_hooks.stateChanged) m_hooks.stateChanged();
}

std::string Interpreter::ExecuteSetting(Op op, const Bytes& h)
{
    const uint8_t p = h.back();
    const std::string invalid = "invalid value " + std::to_string(p) + ", ignored";
    switch (op) {
    case Op::SetBaud:
        if (p > 5) return invalid;
        m_state.baudIndex = p;
        ChangeState();
        return std::to_string(BaudOfIndex(p));
    case Op::SetPrintMode:
        if (p > 1) return invalid;
        FlushPendingLead();
        m_state.printMode = p;
        m_chinese = p == 1;
        ChangeState();
        return p ? "Chinese" : "single-byte";
    case Op::SetDensity:
        if (p < 1 || p > 4) return invalid;
        m_state.density = p;
        ChangeState();
        return "level " + std::to_string(p);
    case Op::BuzzerSetting:
    case Op::CutterSetting: {
        int on = Binary(p);
        if (on < 0) return invalid;
        (op == Op::BuzzerSetting ? m_state.buzzer : m_state.cutter) = on == 1;
        ChangeState();
        return Flag(on == 1);
    }
    case Op::FontSetting:
        if (p > 2) return invalid;
        m_state.font = p;
        ChangeState();
        return "Font_" + std::to_string(p + 1);
    case Op::CodePageSetting:
        m_state.codePage = p;
        m_codePage = p;
        ChangeState();
        return std::to_string(p) + " (" + TextDecoder::CodePageCharset(p) + ")";
    case Op::FactoryReset:
        m_state = PrinterState{};
        m_chinese = false;
        m_codePage = 0;
        ChangeState();
        return "defaults restored";
    case Op::NetworkSetting: {
        const uint8_t dhcp = h[20];
        if (dhcp != kDhcpOff && dhcp != kDhcpOn) return "invalid DHCP flag " + std::to_string(dhcp) + ", ignored";
        NetworkParams& net = m_state.network;
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
        ChangeState();
        if (dhcp == kDhcpOn) return "DHCP on";
        return DottedText(net.ip) + " / " + DottedText(net.mask) + " / " + DottedText(net.gateway) + " / " +
               DottedText(net.dns) + ", DHCP off";
    }
    default: return "";
    }
}

void Interpreter::PrintSelfTestPage()
{
    m_layout.FlushLine();
    const PrinterState& s = m_state;
    TextStyle plain;
    TextStyle title;
    title.align = Align::Centre;
    title.bold = true;
    title.scaleW = title.scaleH = 2;
    TextStyle centred;
    centred.align = Align::Centre;
    const std::string rule(size_t(m_layout.PaperDots() / kFontACellW), kSelfTestRule);

    PrintLine(kSelfTestTitle, title);
    PrintLine(kSelfTestModel, centred);
    PrintLine(rule, plain);
    const int mm = m_layout.PaperDots() == kPaper80Dots ? 80 : 58;
    PrintLine(std::string(kSelfTestPaper) + std::to_string(mm) + " mm (" + std::to_string(m_layout.PaperDots()) +
                  " dots)", plain);
    PrintLine(std::string(kSelfTestPrintMode) +
                  std::string(s.printMode ? kSelfTestModeChinese : kSelfTestModeAscii), plain);
    PrintLine(std::string(kSelfTestDensity) + std::to_string(s.density), plain);
    PrintLine(std::string(kSelfTestBaud) + std::to_string(BaudOfIndex(s.baudIndex)), plain);
    PrintLine(std::string(kSelfTestBuzzer) + Flag(s.buzzer), plain);
    PrintLine(std::string(kSelfTestCutter) + Flag(s.cutter), plain);
    PrintLine(std::string(kSelfTestFont) + std::to_string(s.font + 1), plain);
    PrintLine(std::string(kSelfTestCodePage) + std::to_string(s.codePage) + " " +
                  TextDecoder::CodePageCharset(s.codePage), plain);
    PrintLine(kSelfTestNetwork, plain);
    PrintLine(std::string(kSelfTestIp) + DottedText(s.network.ip), plain);
    PrintLine(std::string(kSelfTestMask) + DottedText(s.network.mask), plain);
    PrintLine(std::string(kSelfTestGateway) + DottedText(s.network.gateway), plain);
    PrintLine(std::string(kSelfTestDns) + DottedText(s.network.dns), plain);
    PrintLine(std::string(kSelfTestDhcp) + Flag(s.network.dhcp == kDhcpOn), plain);
    std::string logos(kSelfTestLogos);
    for (int i = 0; i < kLogoSlots; ++i) {
        logos += " " + std::to_string(i + 1) + ":";
        const auto& logo = s.logos[i];
        logos += logo ? std::to_string(logo->widthDots) + "x" + std::to_string(logo->heightDots)
                      : std::string(kSelfTestLogoEmpty);
    }
    PrintLine(logos, plain);
    PrintLine(rule, plain);
    std::string chart;
    for (char c = 0x20; c < 0x7F; ++c) chart += c;
    PrintLine(chart, plain);
    PrintLine(kSelfTestChinese, plain);
    m_layout.FeedDots(3 * kDefaultLineSpacing);
    // The page ends with a cut when the printer has its cutter switched on.
    if (s.cutter) EndReceipt();
}

} // namespace tallyx::vprinter
