#include "vprinter/CommandTable.h"

#include <algorithm>

namespace tallyx::vprinter {

namespace {

using namespace std::string_view_literals;
using S = Shape;

constexpr CommandDef kCommands[] = {
    {"\x00"sv, S::Fixed, 1, Op::Nul, "NUL", "null byte (ignored)"},
    {"\x0A"sv, S::Fixed, 1, Op::LineFeed, "LF", "print and feed a line"},
    {"\x0D"sv, S::Fixed, 1, Op::CarriageReturn, "CR", "carriage return (ignored)"},
    {"\x09"sv, S::Fixed, 1, Op::Tab, "HT", "horizontal tab"},
    {"\x0C"sv, S::Fixed, 1, Op::FormFeed, "FF", "print and feed a line"},
    {"\x18"sv, S::Fixed, 1, Op::Cancel, "CAN", "discard the unprinted line"},

    {"\x1B\x40"sv, S::Fixed, 2, Op::Initialise, "ESC @", "initialise"},
    {"\x1B\x21"sv, S::Fixed, 3, Op::PrintModeBits, "ESC !", "select print mode"},
    {"\x1B\x2D"sv, S::Fixed, 3, Op::Underline, "ESC -", "underline"},
    {"\x1B\x45"sv, S::Fixed, 3, Op::Bold, "ESC E", "bold"},
    {"\x1B\x47"sv, S::Fixed, 3, Op::DoubleStrike, "ESC G", "double strike"},
    {"\x1B\x56"sv, S::Fixed, 3, Op::Rotate, "ESC V", "90 degree rotation"},
    {"\x1B\x7B"sv, S::Fixed, 3, Op::UpsideDown, "ESC {", "upside-down printing"},
    {"\x1B\x61"sv, S::Fixed, 3, Op::Align, "ESC a", "alignment"},
    {"\x1B\x70"sv, S::Fixed, 5, Op::DrawerPulse, "ESC p", "cash drawer pulse"},
    {"\x1B\x42"sv, S::Fixed, 4, Op::Beep, "ESC B", "sound the buzzer"},
    {"\x1B\x74"sv, S::Fixed, 3, Op::CodePage, "ESC t", "select code page"},
    {"\x1B\x64"sv, S::Fixed, 3, Op::FeedLines, "ESC d", "print and feed lines"},
    {"\x1B\x4A"sv, S::Fixed, 3, Op::FeedDots, "ESC J", "print and feed dots"},
    {"\x1B\x32"sv, S::Fixed, 2, Op::DefaultSpacing, "ESC 2", "default line spacing"},
    {"\x1B\x33"sv, S::Fixed, 3, Op::LineSpacing, "ESC 3", "set line spacing"},
    {"\x1B\x20"sv, S::Fixed, 3, Op::CharSpacing, "ESC SP", "right-side character spacing (ignored)"},
    {"\x1B\x4D"sv, S::Fixed, 3, Op::SelectFont, "ESC M", "select font"},
    {"\x1B\x24"sv, S::Fixed, 4, Op::AbsolutePosition, "ESC $", "absolute print position"},
    {"\x1B\x2A"sv, S::EscBitImage, 5, Op::EscBitImage, "ESC *", "print bit image band"},
    // Known to ESC/POS, no effect on this printer's paper; listed so that their
    // parameter bytes are never taken for text.
    {"\x1B\x63"sv, S::Fixed, 4, Op::Ignored, "ESC c", "panel buttons and paper sensors (ignored)"},
    {"\x1B\x3D"sv, S::Fixed, 3, Op::Ignored, "ESC =", "select peripheral device (ignored)"},
    {"\x1B\x25"sv, S::Fixed, 3, Op::Ignored, "ESC %", "user-defined characters (ignored)"},
    {"\x1B\x3F"sv, S::Fixed, 3, Op::Ignored, "ESC ?", "cancel user-defined character (ignored)"},
    {"\x1B\x52"sv, S::Fixed, 3, Op::Ignored, "ESC R", "international character set (ignored)"},
    {"\x1B\x72"sv, S::Fixed, 3, Op::Ignored, "ESC r", "print colour (ignored)"},
    {"\x1B\x55"sv, S::Fixed, 3, Op::Ignored, "ESC U", "unidirectional printing (ignored)"},
    {"\x1B\x5C"sv, S::Fixed, 4, Op::Ignored, "ESC \\", "relative print position (ignored)"},
    {"\x1B\x4C"sv, S::Fixed, 2, Op::Ignored, "ESC L", "page mode (ignored)"},
    {"\x1B\x53"sv, S::Fixed, 2, Op::Ignored, "ESC S", "standard mode"},
    {"\x1B\x54"sv, S::Fixed, 3, Op::Ignored, "ESC T", "page mode direction (ignored)"},
    {"\x1B\x57"sv, S::Fixed, 10, Op::Ignored, "ESC W", "page mode area (ignored)"},
    {"\x1D\x50"sv, S::Fixed, 4, Op::Ignored, "GS P", "motion units (ignored)"},
    {"\x1D\x3A"sv, S::Fixed, 2, Op::Ignored, "GS :", "macro definition (ignored)"},
    {"\x10\x05"sv, S::Fixed, 3, Op::Ignored, "DLE ENQ", "real-time request (ignored)"},
    {"\x1B\x4E\x01"sv, S::Fixed, 4, Op::SetBaud, "ESC N 1", "set serial baud rate"},
    {"\x1B\x4E\x03"sv, S::Fixed, 4, Op::SetPrintMode, "ESC N 3", "set print mode"},
    {"\x1B\x4E\x04"sv, S::Fixed, 4, Op::SetDensity, "ESC N 4", "set print density"},
    {"\x1B\x4E"sv, S::Fixed, 4, Op::OtherSetting, "ESC N", "unknown printer setting (ignored)"},

    {"\x1C\x2D"sv, S::Fixed, 3, Op::ChineseUnderline, "FS -", "underline of double-byte characters"},
    {"\x1C\x26"sv, S::Fixed, 2, Op::ChineseOn, "FS &", "Chinese character mode on"},
    {"\x1C\x2E"sv, S::Fixed, 2, Op::ChineseOff, "FS .", "Chinese character mode off"},
    {"\x1C\x21"sv, S::Fixed, 3, Op::ChineseModeBits, "FS !", "Chinese print mode"},
    {"\x1C\x57"sv, S::Fixed, 3, Op::ChineseQuadruple, "FS W", "Chinese quadruple size"},
    {"\x1C\x53"sv, S::Fixed, 4, Op::ChineseSpacing, "FS S", "Chinese character spacing (ignored)"},
    {"\x1C\x43"sv, S::Fixed, 3, Op::ChineseCodeSystem, "FS C", "Chinese code system (ignored)"},
    {"\x1C\x70"sv, S::Fixed, 4, Op::PrintLogo, "FS p", "print NV logo"},
    {"\x1C\x72"sv, S::NvLogo, 7, Op::StoreLogo, "FS r", "store NV logo"},

    {"\x1D\x21"sv, S::Fixed, 3, Op::Magnify, "GS !", "character magnification"},
    {"\x1D\x42"sv, S::Fixed, 3, Op::Reverse, "GS B", "reverse (white on black) printing"},
    {"\x1D\x2A"sv, S::BitImage, 4, Op::DefineImage, "GS *", "define downloaded bit image"},
    {"\x1D\x2F"sv, S::Fixed, 3, Op::PrintImage, "GS /", "print downloaded bit image"},
    {"\x1D\x56"sv, S::Cut, 3, Op::Cut, "GS V", "cut the paper"},
    {"\x1D\x48"sv, S::Fixed, 3, Op::HriPosition, "GS H", "barcode readable line position"},
    {"\x1D\x66"sv, S::Fixed, 3, Op::HriFont, "GS f", "barcode readable line font"},
    {"\x1D\x68"sv, S::Fixed, 3, Op::BarHeight, "GS h", "barcode height"},
    {"\x1D\x77"sv, S::Fixed, 3, Op::BarWidth, "GS w", "barcode module width"},
    {"\x1D\x78"sv, S::Fixed, 3, Op::BarMargin, "GS x", "barcode left margin"},
    {"\x1D\x6B"sv, S::Barcode, 3, Op::Barcode, "GS k", "print barcode"},
    {"\x1D\x28"sv, S::Sized16, 5, Op::Symbol, "GS (", "two-dimensional symbol or extended function"},
    {"\x1D\x4C"sv, S::Fixed, 4, Op::LeftMargin, "GS L", "left margin"},
    {"\x1D\x57"sv, S::Fixed, 4, Op::PrintWidth, "GS W", "print area width"},
    {"\x1D\x76\x30"sv, S::Raster, 8, Op::Raster, "GS v 0", "print raster image"},
    {"\x1D\x61"sv, S::Fixed, 3, Op::StatusEnable, "GS a", "automatic status back (ignored)"},
    {"\x1D\x72"sv, S::Fixed, 3, Op::StatusRequest, "GS r", "transmit status"},
    {"\x1D\x49"sv, S::Fixed, 3, Op::PrinterId, "GS I", "transmit printer ID (not answered)"},
    {"\x1D\x62"sv, S::Fixed, 3, Op::Smoothing, "GS b", "smoothing (ignored)"},

    {"\x10\x04\x13"sv, S::Fixed, 3, Op::NetworkQuery, "DLE EOT 13", "network parameter query"},
    {"\x10\x04"sv, S::Fixed, 3, Op::RealTimeStatus, "DLE EOT", "real-time status"},
    {"\x10\x14"sv, S::Fixed, 5, Op::RealTimeRequest, "DLE DC4", "real-time request (ignored)"},

    {"\x1F\x11\x04"sv, S::Fixed, 3, Op::SelfTest, "1F 11 04", "print self-test page"},
    {"\x1F\x11\x03"sv, S::Fixed, 3, Op::HexDump, "1F 11 03", "enter hex dump mode"},
    {"\x1F\x11"sv, S::Fixed, 3, Op::VendorPrint, "1F 11", "unknown vendor print command (ignored)"},
    {"\x1F\x1B\x11"sv, S::Fixed, 4, Op::BuzzerSetting, "1F 1B 11", "buzzer setting"},
    {"\x1F\x1B\x12"sv, S::Fixed, 4, Op::CutterSetting, "1F 1B 12", "cutter setting"},
    {"\x1F\x1B\x19"sv, S::Fixed, 3, Op::FactoryReset, "1F 1B 19", "restore factory settings"},
    {"\x1F\x1B\x1D\x02"sv, S::Fixed, 21, Op::NetworkSetting, "1F 1B 1D 02", "set network parameters"},
    {"\x1F\x1B\x1D"sv, S::Fixed, 4, Op::OtherNetworkSetting, "1F 1B 1D", "unknown network setting (ignored)"},
    {"\x1F\x1B\x1F\xFA"sv, S::Fixed, 5, Op::FontSetting, "1F 1B 1F FA", "font setting"},
    {"\x1F\x1B\x1F\xFF"sv, S::Fixed, 5, Op::CodePageSetting, "1F 1B 1F FF", "code page setting"},
    {"\x1F\x1B\x1F"sv, S::Fixed, 5, Op::OtherFontSetting, "1F 1B 1F", "unknown character setting (ignored)"},
    {"\x1F\x12\x10"sv, S::Fixed, 4, Op::VoicePrompt, "1F 12 10", "voice chip"},
    {"\x1F\x13"sv, S::Counted8, 3, Op::VoiceAmount, "1F 13", "voice chip"},
};

bool StartsWith(std::span<const uint8_t> held, std::string_view prefix)
{
    if (held.size() < prefix.size()) return false;
    return std::equal(prefix.begin(), prefix.end(), held.begin(),
                      [](char p, uint8_t h) { return uint8_t(p) == h; });
}

bool Extends(std::string_view prefix, std::span<const uint8_t> held)
{
    if (prefix.size() <= held.size()) return false;
    return std::equal(held.begin(), held.end(), prefix.begin(),
                      [](uint8_t h, char p) { return uint8_t(p) == h; });
}

} // namespace

Family FamilyOf(Op op)
{
    switch (op) {
    case Op::Initialise:
    case Op::HexDump: return Family::Framing;
    case Op::LineFeed:
    case Op::FormFeed:
    case Op::Tab:
    case Op::Cancel:
    case Op::PrintModeBits:
    case Op::Underline:
    case Op::Bold:
    case Op::DoubleStrike:
    case Op::Rotate:
    case Op::UpsideDown:
    case Op::Align:
    case Op::CodePage:
    case Op::FeedLines:
    case Op::FeedDots:
    case Op::DefaultSpacing:
    case Op::LineSpacing:
    case Op::SelectFont:
    case Op::ChineseUnderline:
    case Op::ChineseOn:
    case Op::ChineseOff:
    case Op::ChineseModeBits:
    case Op::ChineseQuadruple:
    case Op::Magnify:
    case Op::Reverse: return Family::Text;
    case Op::SetBaud:
    case Op::SetPrintMode:
    case Op::SetDensity:
    case Op::BuzzerSetting:
    case Op::CutterSetting:
    case Op::FactoryReset:
    case Op::NetworkSetting:
    case Op::FontSetting:
    case Op::CodePageSetting:
    case Op::SelfTest: return Family::Settings;
    case Op::DefineImage:
    case Op::PrintImage:
    case Op::PrintLogo:
    case Op::StoreLogo:
    case Op::EscBitImage:
    case Op::Raster: return Family::Images;
    case Op::HriPosition:
    case Op::HriFont:
    case Op::BarHeight:
    case Op::BarWidth:
    case Op::BarMargin:
    case Op::Barcode: return Family::Barcodes;
    case Op::Symbol: return Family::Symbols;
    case Op::DrawerPulse:
    case Op::Beep:
    case Op::Cut:
    case Op::NetworkQuery:
    case Op::RealTimeStatus:
    case Op::StatusRequest: return Family::Device;
    case Op::VoicePrompt:
    case Op::VoiceAmount: return Family::Voice;
    default: return Family::Ignored;
    }
}

std::span<const CommandDef> CommandTable()
{
    return kCommands;
}

Match MatchCommand(std::span<const uint8_t> held)
{
    const CommandDef* best = nullptr;
    for (const CommandDef& def : kCommands) {
        if (Extends(def.prefix, held)) return {MatchKind::NeedMore};
        if (StartsWith(held, def.prefix) && (!best || def.prefix.size() > best->prefix.size()))
            best = &def;
    }
    if (best) return {MatchKind::Found, best};
    return {MatchKind::Unknown};
}

} // namespace tallyx::vprinter
