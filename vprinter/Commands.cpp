// What each command does to the print position, the style and the receipt.
#include "vprinter/Interpreter.h"

namespace tallyx::vprinter {

namespace {

constexpr uint8_t kStatusOk = 0x12;     // DLE EOT n: fixed bits only, no error
constexpr uint8_t kPaperPresent = 0x00; // GS r

// ESC - and FS -: 0/'0' off, 1/'1' one dot, 2/'2' two dots; -1 for anything else.
int UnderlineDots(uint8_t n)
{
    if (n <= 2) return n;
    if (n >= '0' && n <= '2') return n - '0';
    return -1;
}

std::string OnOff(bool on) { return on ? "on" : "off"; }

} // namespace

void Interpreter::Execute(const CommandDef& def, const Bytes& header, const Bytes& payload, bool kept,
                          uint64_t payloadLength)
{
    const size_t at = def.prefix.size();
    const uint8_t n = header.size() > at ? header[at] : 0;
    std::string detail;
    auto reply = [this](const Bytes& bytes) {
        if (m_reply && *m_reply) (*m_reply)(bytes);
    };
    if (def.op != Op::LineFeed && def.op != Op::FormFeed && def.op != Op::CarriageReturn) m_bandLine = false;

    switch (def.op) {
    case Op::LineFeed:
    case Op::FormFeed:
        if (m_bandLine) m_bandLine = false;   // the band was the line
        else m_layout.LineFeed(m_style);
        break;
    case Op::Tab: m_layout.Tab(m_style); break;
    case Op::Cancel: m_layout.DiscardLine(); break;
    case Op::Initialise: Initialise(); break;
    case Op::DrawerPulse:
        detail = std::string("pin ") + ((n & 1) ? "5" : "2") + ", on " + std::to_string(2 * header[3]) +
                 " ms, off " + std::to_string(2 * header[4]) + " ms";
        break;
    case Op::Beep:
        detail = std::to_string(n) + " times, " + std::to_string(50 * header[3]) + " ms each";
        if (!m_state.buzzer) detail += " (buzzer switched off: silent)";
        break;
    case Op::VoicePrompt: detail = "prompt " + std::to_string(header[3]); break;
    case Op::VoiceAmount: detail = std::string(payload.begin(), payload.end()); break;
    case Op::Cut:
        if (!m_state.cutter) {
            detail = "cutter switched off: not cut";
            break;
        }
        if (header.size() == 4) m_layout.FeedDots(header[3]);
        m_layout.FlushLine();
        EndReceipt();
        detail = "receipt ended";
        break;
    case Op::NetworkQuery:
        reply(NetworkReply(m_state.network));
        detail = "answered with 22 bytes";
        break;
    case Op::RealTimeStatus:
        if (n >= 1 && n <= 4) {
            reply({kStatusOk});
            detail = "answered 12";
        }
        break;
    case Op::StatusRequest:
        reply({kPaperPresent});
        detail = "answered 00";
        break;
    case Op::SelfTest: PrintSelfTestPage(); break;
    case Op::HexDump:
        m_layout.FlushLine();
        m_hexMode = true;
        break;

    case Op::SetBaud:
    case Op::SetPrintMode:
    case Op::SetDensity:
    case Op::BuzzerSetting:
    case Op::CutterSetting:
    case Op::FactoryReset:
    case Op::NetworkSetting:
    case Op::FontSetting:
    case Op::CodePageSetting: detail = ExecuteSetting(def.op, header); break;

    case Op::DefineImage:
    case Op::PrintImage:
    case Op::PrintLogo:
    case Op::StoreLogo:
    case Op::EscBitImage:
    case Op::Raster: detail = ExecuteImage(def.op, header, payload, kept); break;

    case Op::HriPosition:
    case Op::HriFont:
    case Op::BarHeight:
    case Op::BarWidth:
    case Op::BarMargin:
    case Op::Barcode:
    case Op::Symbol: detail = ExecuteSymbol(def.op, header, payload, kept); break;

    case Op::Nul:
    case Op::Ignored:
    case Op::CarriageReturn:
    case Op::CharSpacing:
    case Op::AbsolutePosition:
    case Op::ChineseSpacing:
    case Op::ChineseCodeSystem:
    case Op::LeftMargin:
    case Op::PrintWidth:
    case Op::StatusEnable:
    case Op::PrinterId:
    case Op::Smoothing:
    case Op::RealTimeRequest:
    case Op::OtherSetting:
    case Op::VendorPrint:
    case Op::OtherNetworkSetting:
    case Op::OtherFontSetting: break;

    default: detail = ExecuteStyle(def.op, n); break;
    }
    std::string meaning(def.meaning);
    if (!detail.empty()) meaning += ": " + detail;
    Log(header, payload, header.size() + payloadLength, def.mnemonic, std::move(meaning));
}

std::string Interpreter::ExecuteStyle(Op op, uint8_t n)
{
    switch (op) {
    case Op::PrintModeBits:
        m_style.fontB = n & 0x01;
        m_style.bold = n & 0x08;
        m_style.scaleH = (n & 0x10) ? 2 : 1;
        m_style.scaleW = (n & 0x20) ? 2 : 1;
        m_style.underline = (n & 0x80) ? 1 : 0;
        return "";
    case Op::Underline:
    case Op::ChineseUnderline: {
        int dots = UnderlineDots(n);
        if (dots < 0) return "invalid value, ignored";
        (op == Op::Underline ? m_style.underline : m_style.underlineWide) = uint8_t(dots);
        return std::to_string(dots) + " dots";
    }
    case Op::Bold:
    case Op::DoubleStrike: m_style.bold = n & 1; return OnOff(m_style.bold);
    case Op::Rotate: m_style.rotated = (n & 0x03) != 0; return OnOff(m_style.rotated);
    case Op::UpsideDown: m_style.upsideDown = n & 1; return OnOff(m_style.upsideDown);
    case Op::Reverse: m_style.reverse = n & 1; return OnOff(m_style.reverse);
    case Op::Align: {
        int a = n >= '0' ? n - '0' : n;
        if (a < 0 || a > 2) return "invalid value, ignored";
        m_style.align = Align(a);
        static constexpr const char* kNames[] = {"left", "centre", "right"};
        return kNames[a];
    }
    case Op::Magnify: {
        int w = (n >> 4) + 1, h = (n & 0x0F) + 1;
        if (w > 8 || h > 8) return "invalid value, ignored";
        m_style.scaleW = w;
        m_style.scaleH = h;
        return std::to_string(w) + "x wide, " + std::to_string(h) + "x high";
    }
    case Op::ChineseModeBits:
        m_style.scaleW = (n & 0x04) ? 2 : 1;
        m_style.scaleH = (n & 0x08) ? 2 : 1;
        m_style.underlineWide = (n & 0x80) ? 1 : 0;
        return "";
    case Op::ChineseQuadruple:
        m_style.scaleW = m_style.scaleH = (n & 1) ? 2 : 1;
        return OnOff(n & 1);
    case Op::ChineseOn: m_chinese = true; return "";
    case Op::ChineseOff:
        FlushPendingLead();
        m_chinese = false;
        return "";
    case Op::CodePage:
        m_codePage = n;
        return std::to_string(n) + " (" + TextDecoder::CodePageCharset(n) + ")";
    case Op::SelectFont: m_style.fontB = n & 1; return (n & 1) ? "B" : "A";
    case Op::FeedLines:
        m_layout.FlushLine();
        m_layout.FeedDots(n * m_style.lineSpacing);
        return std::to_string(n) + " lines";
    case Op::FeedDots:
        m_layout.FlushLine();
        m_layout.FeedDots(n);
        return std::to_string(n) + " dots";
    case Op::DefaultSpacing: m_style.lineSpacing = kDefaultLineSpacing; return "";
    case Op::LineSpacing: m_style.lineSpacing = n; return std::to_string(n) + " dots";
    default: return "";
    }
}

// ESC @: the unprinted line and the downloaded image go; the stored settings come back.
void Interpreter::Initialise()
{
    m_layout.DiscardLine();
    m_gbkLead = -1;
    m_style = TextStyle{};
    m_chinese = m_state.printMode == 1;
    m_codePage = m_state.codePage;
    m_downloaded.reset();
    m_hriPosition = 0;
    m_hriFont = 0;
    m_barHeight = 162;
    m_barWidth = 3;
    m_barMargin = 0;
}

void Interpreter::PrintLine(std::string_view utf8, const TextStyle& style)
{
    size_t i = 0;
    while (i < utf8.size()) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        size_t len = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        len = std::min(len, utf8.size() - i);
        // Characters of three bytes and more are the CJK ones in our texts.
        m_layout.AddChar(std::string(utf8.substr(i, len)), len >= 3, style);
        i += len;
    }
    m_layout.LineFeed(style);
}

} // namespace tallyx::vprinter
