#include "vprinter/interpret/CommandTable.h"

#include <algorithm>
#include <array>
#include <unordered_map>
#include <vector>

namespace tallyx::vprinter {

namespace {

using namespace std::string_view_literals;
using S = Shape;
using F = Family;

constexpr CommandDef kCommands[] = {
    {"\x00"sv, S::Fixed, 1, Op::Nul, F::Ignored, "NUL", "null byte (ignored)"},
    {"\x0A"sv, S::Fixed, 1, Op::LineFeed, F::Text, "LF", "print and feed a line"},
    {"\x0D"sv, S::Fixed, 1, Op::CarriageReturn, F::Ignored, "CR", "carriage return (ignored)"},
    {"\x09"sv, S::Fixed, 1, Op::Tab, F::Text, "HT", "horizontal tab"},
    {"\x0C"sv, S::Fixed, 1, Op::FormFeed, F::Text, "FF", "print and feed a line"},
    {"\x18"sv, S::Fixed, 1, Op::Cancel, F::Text, "CAN", "discard the unprinted line"},

    {"\x1B\x40"sv, S::Fixed, 2, Op::Initialise, F::Framing, "ESC @", "initialise"},
    {"\x1B\x21"sv, S::Fixed, 3, Op::PrintModeBits, F::Text, "ESC !", "select print mode"},
    {"\x1B\x2D"sv, S::Fixed, 3, Op::Underline, F::Text, "ESC -", "underline"},
    {"\x1B\x45"sv, S::Fixed, 3, Op::Bold, F::Text, "ESC E", "bold"},
    {"\x1B\x47"sv, S::Fixed, 3, Op::DoubleStrike, F::Text, "ESC G", "double strike"},
    {"\x1B\x56"sv, S::Fixed, 3, Op::Rotate, F::Text, "ESC V", "90 degree rotation"},
    {"\x1B\x7B"sv, S::Fixed, 3, Op::UpsideDown, F::Text, "ESC {", "upside-down printing"},
    {"\x1B\x61"sv, S::Fixed, 3, Op::Align, F::Text, "ESC a", "alignment"},
    {"\x1B\x70"sv, S::Fixed, 5, Op::DrawerPulse, F::Device, "ESC p", "cash drawer pulse"},
    {"\x1B\x42"sv, S::Fixed, 4, Op::Beep, F::Device, "ESC B", "sound the buzzer"},
    {"\x1B\x74"sv, S::Fixed, 3, Op::CodePage, F::Text, "ESC t", "select code page"},
    {"\x1B\x64"sv, S::Fixed, 3, Op::FeedLines, F::Text, "ESC d", "print and feed lines"},
    {"\x1B\x4A"sv, S::Fixed, 3, Op::FeedDots, F::Text, "ESC J", "print and feed dots"},
    {"\x1B\x32"sv, S::Fixed, 2, Op::DefaultSpacing, F::Text, "ESC 2", "default line spacing"},
    {"\x1B\x33"sv, S::Fixed, 3, Op::LineSpacing, F::Text, "ESC 3", "set line spacing"},
    {"\x1B\x20"sv, S::Fixed, 3, Op::CharSpacing, F::Text, "ESC SP", "right-side character spacing"},
    {"\x1B\x4D"sv, S::Fixed, 3, Op::SelectFont, F::Text, "ESC M", "select font"},
    {"\x1B\x24"sv, S::Fixed, 4, Op::AbsolutePosition, F::Text, "ESC $", "absolute print position"},
    {"\x1B\x52"sv, S::Fixed, 3, Op::InternationalSet, F::Text, "ESC R", "international character set"},
    {"\x1D\x50"sv, S::Fixed, 4, Op::MotionUnits, F::Text, "GS P", "motion units"},
    {"\x1B\x44"sv, S::NulTerminated, 2, Op::TabStops, F::Text, "ESC D", "set tab stops"},
    {"\x1B\x2A"sv, S::EscBitImage, 5, Op::EscBitImage, F::Images, "ESC *", "print bit image band"},
    // Known to ESC/POS, no effect on this printer's paper; listed so that their
    // parameter bytes are never taken for text.
    {"\x1B\x63"sv, S::Fixed, 4, Op::Ignored, F::Ignored, "ESC c", "panel buttons and paper sensors (ignored)"},
    {"\x1B\x3D"sv, S::Fixed, 3, Op::Ignored, F::Ignored, "ESC =", "select peripheral device (ignored)"},
    {"\x1B\x25"sv, S::Fixed, 3, Op::Ignored, F::Ignored, "ESC %", "user-defined characters (ignored)"},
    {"\x1B\x3F"sv, S::Fixed, 3, Op::Ignored, F::Ignored, "ESC ?", "cancel user-defined character (ignored)"},
    {"\x1B\x72"sv, S::Fixed, 3, Op::Ignored, F::Ignored, "ESC r", "print colour (ignored)"},
    {"\x1B\x55"sv, S::Fixed, 3, Op::Ignored, F::Ignored, "ESC U", "unidirectional printing (ignored)"},
    {"\x1B\x5C"sv, S::Fixed, 4, Op::RelativePosition, F::Text, "ESC \\", "relative print position"},
    {"\x1B\x4C"sv, S::Fixed, 2, Op::Ignored, F::Ignored, "ESC L", "page mode (ignored)"},
    {"\x1B\x53"sv, S::Fixed, 2, Op::StandardMode, F::Ignored, "ESC S", "standard mode"},
    {"\x1B\x54"sv, S::Fixed, 3, Op::Ignored, F::Ignored, "ESC T", "page mode direction (ignored)"},
    {"\x1B\x57"sv, S::Fixed, 10, Op::Ignored, F::Ignored, "ESC W", "page mode area (ignored)"},
    {"\x1D\x3A"sv, S::Fixed, 2, Op::Ignored, F::Ignored, "GS :", "macro definition (ignored)"},
    // Extended functions by their length: one the printer does not carry out is still never text.
    {"\x1C\x28"sv, S::Sized16, 5, Op::Ignored, F::Ignored, "FS (", "extended function (skipped)"},
    {"\x1B\x28"sv, S::Sized16, 5, Op::Ignored, F::Ignored, "ESC (", "extended function (skipped)"},
    {"\x1B\x3C"sv, S::Fixed, 2, Op::Ignored, F::Ignored, "ESC <", "return home (ignored)"},
    {"\x1D\x54"sv, S::Fixed, 3, Op::Ignored, F::Ignored, "GS T", "print position to the line start (ignored)"},
    {"\x1D\x24"sv, S::Fixed, 4, Op::Ignored, F::Ignored, "GS $", "page mode vertical position (ignored)"},
    {"\x1D\x5C"sv, S::Fixed, 4, Op::Ignored, F::Ignored, "GS \\", "page mode relative vertical position (ignored)"},
    {"\x1D\x5E"sv, S::Fixed, 5, Op::Ignored, F::Ignored, "GS ^", "execute macro (ignored)"},
    {"\x1D\x63"sv, S::Fixed, 2, Op::Ignored, F::Ignored, "GS c", "print counter (ignored)"},
    {"\x1D\x67\x30"sv, S::Fixed, 6, Op::Ignored, F::Ignored, "GS g 0", "initialise maintenance counter (ignored)"},
    {"\x1D\x7A\x30"sv, S::Fixed, 5, Op::Ignored, F::Ignored, "GS z 0", "online recovery wait time (ignored)"},
    {"\x10\x05"sv, S::Fixed, 3, Op::Ignored, F::Ignored, "DLE ENQ", "real-time request (ignored)"},
    {"\x1B\x4E\x01"sv, S::Fixed, 4, Op::SetBaud, F::Settings, "ESC N 1", "set serial baud rate"},
    {"\x1B\x4E\x03"sv, S::Fixed, 4, Op::SetPrintMode, F::Settings, "ESC N 3", "set print mode"},
    {"\x1B\x4E\x04"sv, S::Fixed, 4, Op::SetDensity, F::Settings, "ESC N 4", "set print density"},
    {"\x1B\x4E"sv, S::Fixed, 4, Op::OtherSetting, F::Ignored, "ESC N", "unknown printer setting (ignored)"},

    {"\x1C\x2D"sv, S::Fixed, 3, Op::ChineseUnderline, F::Text, "FS -", "underline of double-byte characters"},
    {"\x1C\x26"sv, S::Fixed, 2, Op::ChineseOn, F::Text, "FS &", "Chinese character mode on"},
    {"\x1C\x2E"sv, S::Fixed, 2, Op::ChineseOff, F::Text, "FS .", "Chinese character mode off"},
    {"\x1C\x21"sv, S::Fixed, 3, Op::ChineseModeBits, F::Text, "FS !", "Chinese print mode"},
    {"\x1C\x57"sv, S::Fixed, 3, Op::ChineseQuadruple, F::Text, "FS W", "Chinese quadruple size"},
    {"\x1C\x53"sv, S::Fixed, 4, Op::ChineseSpacing, F::Ignored, "FS S", "Chinese character spacing (ignored)"},
    {"\x1C\x43"sv, S::Fixed, 3, Op::ChineseCodeSystem, F::Ignored, "FS C", "Chinese code system (ignored)"},
    {"\x1C\x70"sv, S::Fixed, 4, Op::PrintLogo, F::Images, "FS p", "print NV logo"},
    {"\x1C\x72"sv, S::NvLogo, 7, Op::StoreLogo, F::Images, "FS r", "store NV logo"},

    {"\x1D\x21"sv, S::Fixed, 3, Op::Magnify, F::Text, "GS !", "character magnification"},
    {"\x1D\x42"sv, S::Fixed, 3, Op::Reverse, F::Text, "GS B", "reverse (white on black) printing"},
    {"\x1D\x2A"sv, S::BitImage, 4, Op::DefineImage, F::Images, "GS *", "define downloaded bit image"},
    {"\x1D\x2F"sv, S::Fixed, 3, Op::PrintImage, F::Images, "GS /", "print downloaded bit image"},
    {"\x1D\x56"sv, S::Cut, 3, Op::Cut, F::Device, "GS V", "cut the paper"},
    {"\x1B\x69"sv, S::Fixed, 2, Op::Cut, F::Device, "ESC i", "partial cut (one point left uncut)"},
    {"\x1B\x6D"sv, S::Fixed, 2, Op::Cut, F::Device, "ESC m", "partial cut (three points left uncut)"},
    {"\x1D\x48"sv, S::Fixed, 3, Op::HriPosition, F::Barcodes, "GS H", "barcode readable line position"},
    {"\x1D\x66"sv, S::Fixed, 3, Op::HriFont, F::Barcodes, "GS f", "barcode readable line font"},
    {"\x1D\x68"sv, S::Fixed, 3, Op::BarHeight, F::Barcodes, "GS h", "barcode height"},
    {"\x1D\x77"sv, S::Fixed, 3, Op::BarWidth, F::Barcodes, "GS w", "barcode module width"},
    {"\x1D\x78"sv, S::Fixed, 3, Op::BarMargin, F::Barcodes, "GS x", "barcode left margin"},
    {"\x1D\x6B"sv, S::Barcode, 3, Op::Barcode, F::Barcodes, "GS k", "print barcode"},
    {"\x1D\x28"sv, S::Sized16, 5, Op::Symbol, F::Symbols, "GS (", "two-dimensional symbol or extended function"},
    {"\x1D\x4C"sv, S::Fixed, 4, Op::LeftMargin, F::Text, "GS L", "left margin"},
    {"\x1D\x57"sv, S::Fixed, 4, Op::PrintWidth, F::Text, "GS W", "print area width"},
    {"\x1D\x28\x4C"sv, S::Sized16, 5, Op::Graphics, F::Images, "GS ( L", "graphics"},
    {"\x1D\x38\x4C"sv, S::Sized32, 7, Op::Graphics, F::Images, "GS 8 L", "graphics"},
    {"\x1D\x76\x30"sv, S::Raster, 8, Op::Raster, F::Images, "GS v 0", "print raster image"},
    {"\x1D\x61"sv, S::Fixed, 3, Op::StatusEnable, F::Status, "GS a", "automatic status back"},
    {"\x1D\x72"sv, S::Fixed, 3, Op::StatusRequest, F::Status, "GS r", "transmit status"},
    {"\x1D\x49"sv, S::Fixed, 3, Op::PrinterId, F::Status, "GS I", "transmit printer ID"},
    {"\x1D\x62"sv, S::Fixed, 3, Op::Smoothing, F::Ignored, "GS b", "smoothing (ignored)"},

    {"\x10\x04\x13"sv, S::Fixed, 3, Op::NetworkQuery, F::Device, "DLE EOT 13", "network parameter query"},
    {"\x10\x04"sv, S::Fixed, 3, Op::RealTimeStatus, F::Status, "DLE EOT", "real-time status"},
    {"\x10\x14"sv, S::Fixed, 5, Op::RealTimeRequest, F::Ignored, "DLE DC4", "real-time request (ignored)"},
    {"\x10\x14\x07"sv, S::Fixed, 4, Op::RealTimeRequest, F::Ignored, "DLE DC4 7", "real-time buzzer or status request (ignored)"},
    {"\x10\x14\x08"sv, S::Fixed, 10, Op::RealTimeRequest, F::Ignored, "DLE DC4 8", "clear the buffers (ignored)"},

    {"\x1F\x11\x04"sv, S::Fixed, 3, Op::SelfTest, F::Settings, "1F 11 04", "print self-test page"},
    {"\x1F\x11\x03"sv, S::Fixed, 3, Op::HexDump, F::Framing, "1F 11 03", "enter hex dump mode"},
    {"\x1F\x11"sv, S::Fixed, 3, Op::VendorPrint, F::Ignored, "1F 11", "unknown vendor print command (ignored)"},
    {"\x1F\x1B\x11"sv, S::Fixed, 4, Op::BuzzerSetting, F::Settings, "1F 1B 11", "buzzer setting"},
    {"\x1F\x1B\x12"sv, S::Fixed, 4, Op::CutterSetting, F::Settings, "1F 1B 12", "cutter setting"},
    {"\x1F\x1B\x19"sv, S::Fixed, 3, Op::FactoryReset, F::Settings, "1F 1B 19", "restore factory settings"},
    {"\x1F\x1B\x1D\x02"sv, S::Fixed, 21, Op::NetworkSetting, F::Settings, "1F 1B 1D 02", "set network parameters"},
    {"\x1F\x1B\x1D"sv, S::Fixed, 4, Op::OtherNetworkSetting, F::Ignored, "1F 1B 1D", "unknown network setting (ignored)"},
    {"\x1F\x1B\x1F\xFA"sv, S::Fixed, 5, Op::FontSetting, F::Settings, "1F 1B 1F FA", "font setting"},
    {"\x1F\x1B\x1F\xFF"sv, S::Fixed, 5, Op::CodePageSetting, F::Settings, "1F 1B 1F FF", "code page setting"},
    {"\x1F\x1B\x1F"sv, S::Fixed, 5, Op::OtherFontSetting, F::Ignored, "1F 1B 1F", "unknown character setting (ignored)"},
    {"\x1F\x12\x10"sv, S::Fixed, 4, Op::VoicePrompt, F::Voice, "1F 12 10", "voice chip"},
    {"\x1F\x13"sv, S::Counted8, 3, Op::VoiceAmount, F::Voice, "1F 13", "voice chip"},
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

// The commands by their first byte: a stream of text and line feeds meets each byte with
// the few commands it can begin, not the whole table.
const std::vector<const CommandDef*>& CommandsStartingWith(uint8_t first)
{
    static const auto index = [] {
        std::array<std::vector<const CommandDef*>, 256> byFirst;
        for (const CommandDef& def : kCommands) byFirst[uint8_t(def.prefix.front())].push_back(&def);
        return byFirst;
    }();
    return index[first];
}

// ... and, once two bytes are held, by both: ESC and GS each begin some fifty commands, and
// every byte of a command's header was matched against all of them (7 % of drawing 1,000
// receipts of barcodes).
const std::vector<const CommandDef*>& CommandsStartingWith(uint8_t first, uint8_t second)
{
    static const auto index = [] {
        std::unordered_map<unsigned, std::vector<const CommandDef*>> byTwo;
        for (const CommandDef& def : kCommands)
            if (def.prefix.size() >= 2) byTwo[uint8_t(def.prefix[0]) << 8 | uint8_t(def.prefix[1])].push_back(&def);
        for (auto& [key, defs] : byTwo)
            for (const CommandDef* one : CommandsStartingWith(uint8_t(key >> 8)))
                if (one->prefix.size() == 1) defs.push_back(one);
        return byTwo;
    }();
    static const auto onlyOne = [] {
        std::array<std::vector<const CommandDef*>, 256> byFirst;
        for (const CommandDef& def : kCommands)
            if (def.prefix.size() == 1) byFirst[uint8_t(def.prefix.front())].push_back(&def);
        return byFirst;
    }();
    const auto it = index.find(unsigned(first) << 8 | second);
    return it != index.end() ? it->second : onlyOne[first];
}

} // namespace

std::span<const CommandDef> CommandTable()
{
    return kCommands;
}

Match MatchCommand(std::span<const uint8_t> held)
{
    const CommandDef* best = nullptr;
    if (held.empty()) return {MatchKind::NeedMore};
    const auto& candidates = held.size() >= 2 ? CommandsStartingWith(held[0], held[1]) : CommandsStartingWith(held[0]);
    for (const CommandDef* candidate : candidates) {
        const CommandDef& def = *candidate;
        if (Extends(def.prefix, held)) return {MatchKind::NeedMore};
        if (StartsWith(held, def.prefix) && (!best || def.prefix.size() > best->prefix.size()))
            best = &def;
    }
    if (best) return {MatchKind::Found, best};
    return {MatchKind::Unknown};
}

} // namespace tallyx::vprinter
