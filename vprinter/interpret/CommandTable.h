#pragma once
// Every command the virtual printer knows: its leading bytes, how its length is found,
// its mnemonic and what it means. The framer reads this table; nothing else spells a prefix.
#include <cstdint>
#include <span>
#include <string_view>

namespace tallyx::vprinter {

enum class Shape : uint8_t {
    Fixed,        // `length` bytes in all
    BitImage,     // GS * x y: header 4, then 8*x*y bytes
    NvLogo,       // FS r n xL xH yL yH: header 7, then 8*x*y bytes
    Sized16,      // prefix pL pH: header `length`, then pL + 256*pH bytes
    Counted8,     // prefix L: header `length`, then L bytes
    Barcode,      // GS k m: m 0..6 data up to a 00 byte, otherwise GS k m n and n bytes
    Cut,          // GS V m, with one more byte n (the feed) when m is 65, 66, 97, 98, 103 or 104
    EscBitImage,  // ESC * m nL nH: n columns of 1 (m 0, 1) or 3 (m 32, 33) bytes
    Raster,       // GS v 0 m xL xH yL yH: header 8, then x*y bytes
    Sized32,      // prefix p1 p2 p3 p4: header `length`, then p1 + 256*p2 + 65536*p3 + 16777216*p4 bytes
    NulTerminated, // prefix, then bytes up to a 00 byte (at most kMaxTabStops)
};

enum class Op : uint8_t {
    Nul, Ignored, LineFeed, CarriageReturn, Tab, FormFeed, Cancel,
    Initialise, PrintModeBits, Underline, Bold, DoubleStrike, Rotate, UpsideDown, Align,
    DrawerPulse, Beep, CodePage, FeedLines, FeedDots, DefaultSpacing, LineSpacing,
    CharSpacing, SelectFont, AbsolutePosition, EscBitImage,
    SetBaud, SetPrintMode, SetDensity, OtherSetting,
    ChineseUnderline, ChineseOn, ChineseOff, ChineseModeBits, ChineseQuadruple,
    ChineseSpacing, ChineseCodeSystem, PrintLogo, StoreLogo,
    Magnify, Reverse, DefineImage, PrintImage, Cut, HriPosition, HriFont, BarHeight,
    BarWidth, BarMargin, Barcode, Symbol, LeftMargin, PrintWidth, Raster, StatusEnable,
    StatusRequest, PrinterId, Smoothing,
    NetworkQuery, RealTimeStatus, RealTimeRequest,
    SelfTest, HexDump, VendorPrint, BuzzerSetting, CutterSetting, FactoryReset,
    NetworkSetting, OtherNetworkSetting, FontSetting, CodePageSetting, OtherFontSetting,
    VoicePrompt, VoiceAmount,
    RelativePosition, TabStops, Graphics, InternationalSet, MotionUnits, StandardMode,
};

// Which executor carries a command out.
enum class Family : uint8_t { Ignored, Framing, Text, Settings, Images, Barcodes, Symbols, Device, Voice, Status };

struct CommandDef {
    std::string_view prefix;   // leading bytes
    Shape shape;
    int length;                // Fixed: whole command; Sized16, Counted8: header
    Op op;
    Family family;             // the executor that carries it out
    std::string_view mnemonic;
    std::string_view meaning;
};

std::span<const CommandDef> CommandTable();

enum class MatchKind { NeedMore, Found, Unknown };
struct Match {
    MatchKind kind;
    const CommandDef* def = nullptr;
};

// Which command the bytes held so far begin, if they can still begin one.
Match MatchCommand(std::span<const uint8_t> held);

} // namespace tallyx::vprinter
