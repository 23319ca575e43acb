// The self-test page: what the printer stores, a character chart and a line of Chinese.
#include "vprinter/interpret/PrinterTexts.h"
#include "vprinter/interpret/SettingsExecutor.h"
#include "vprinter/text/CodePages.h"

namespace tallyx::vprinter {

void PrintSelfTestPage(PrintContext& ctx)
{
    ctx.layout.FlushLine();
    const PrinterState& s = ctx.state;
    const int paperDots = ctx.layout.PaperDots();
    TextStyle plain;
    TextStyle title;
    title.align = Align::Centre;
    title.bold = true;
    title.scaleW = title.scaleH = 2;
    TextStyle centred;
    centred.align = Align::Centre;
    const std::string rule(size_t(paperDots / kFontACellW), kSelfTestRule);
    auto line = [&](std::string_view label, const std::string& value) {
        ctx.PrintLine(std::string(label) + value, plain);
    };

    ctx.PrintLine(kSelfTestTitle, title);
    ctx.PrintLine(kSelfTestModel, centred);
    ctx.PrintLine(rule, plain);
    const int mm = paperDots == kPaper80Dots ? 80 : 58;
    line(kSelfTestPaper, std::to_string(mm) + " mm (" + std::to_string(paperDots) + " dots)");
    line(kSelfTestPrintMode, std::string(s.printMode ? kSelfTestModeChinese : kSelfTestModeAscii));
    line(kSelfTestDensity, std::to_string(s.density));
    line(kSelfTestBaud, std::to_string(BaudOfIndex(s.baudIndex)));
    line(kSelfTestBuzzer, OnOffText(s.buzzer));
    line(kSelfTestCutter, OnOffText(s.cutter));
    line(kSelfTestFont, std::to_string(s.font + 1));
    const CodePage* page = FindCodePage(s.codePage);
    line(kSelfTestCodePage, std::to_string(s.codePage) + " " + (page ? page->name : "-"));
    ctx.PrintLine(kSelfTestNetwork, plain);
    line(kSelfTestIp, DottedText(s.network.ip));
    line(kSelfTestMask, DottedText(s.network.mask));
    line(kSelfTestGateway, DottedText(s.network.gateway));
    line(kSelfTestDns, DottedText(s.network.dns));
    line(kSelfTestDhcp, OnOffText(s.network.dhcp == kDhcpOn));
    std::string logos(kSelfTestLogos);
    for (int i = 0; i < kLogoSlots; ++i) {
        logos += " " + std::to_string(i + 1) + ":";
        const auto& logo = s.logos[i];
        logos += logo ? std::to_string(logo->widthDots) + "x" + std::to_string(logo->heightDots)
                      : std::string(kSelfTestLogoEmpty);
    }
    ctx.PrintLine(logos, plain);
    ctx.PrintLine(rule, plain);
    std::string chart;
    for (char c = 0x20; c < 0x7F; ++c) chart += c;
    ctx.PrintLine(chart, plain);
    ctx.PrintLine(kSelfTestChinese, plain);
    ctx.layout.FeedDots(3 * kDefaultLineSpacing);
    // The page ends with a cut when the printer has its cutter switched on.
    if (s.cutter) ctx.EndReceipt();
}

} // namespace tallyx::vprinter
