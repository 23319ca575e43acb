// The main window's setting and test buttons: each row is the whole definition of one command.
#include "commands/MainCommands.h"

#include "res/Combos.h"
#include "res/MainWindowIds.h"

namespace tallyx {

Bytes BuildDrawerPulse(int drawer)
{
    return {0x1B, 0x70, uint8_t(drawer == 2 ? 0x01 : 0x00), 0x30, 0x30};
}

namespace {
namespace m = id::main;

Bytes Joined(Bytes a, const Bytes& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

const MainCommandDef kTable[] = {
    {m::kInit, "init",
     "initialise the printer (ESC @, then a line feed)",
     {0x1B, 0x40, 0x0A}},
    {m::kUnderline, "underline",
     "switch underlining on (ESC - 2, FS - 2)",
     {0x1B, 0x2D, 0x02, 0x1C, 0x2D, 0x02, 0x0A}},
    {m::kBold, "bold",
     "switch bold printing on (ESC E 1)",
     {0x1B, 0x45, 0x01}},
    {m::kRotate, "rotate",
     "switch 90-degree rotated printing on (ESC V 1)",
     {0x1B, 0x56, 0x01}},
    {m::kUpsideDown, "upside-down",
     "switch upside-down printing on (ESC { 1)",
     {0x1B, 0x7B, 0x01}},
    {m::kReverse, "reverse",
     "switch white-on-black printing on (GS B 1)",
     {0x1D, 0x42, 0x01}},
    {m::kSelfTestPage, "selftest-page",
     "print the self-test page",
     {0x1F, 0x11, 0x04}},
    {m::kHexMode, "hex-mode",
     "put the printer into its hexadecimal dump mode",
     {0x1F, 0x11, 0x03}},
    {m::kFactoryReset, "factory-reset",
     "restore the printer's factory settings (asks nothing)",
     {0x1F, 0x1B, 0x19}},
    {m::kPrintMode, "print-mode",
     "store the print mode",
     {0x1B, 0x4E, 0x03}, m::kPrintModeCombo, 0x01},
    {m::kDensity, "density",
     "store the print density",
     {0x1B, 0x4E, 0x04}, m::kDensityCombo, 0x03},
    {m::kPrinterBaud, "printer-baud",
     "store the printer's own serial rate (not this program's --baud)",
     {0x1B, 0x4E, 0x01}, m::kPrinterBaudCombo, 0x01},
    {m::kBuzzer, "buzzer",
     "store whether the buzzer sounds",
     {0x1F, 0x1B, 0x11}, m::kBuzzerCombo, 0x01},
    {m::kCutter, "cutter",
     "store whether the cutter cuts",
     {0x1F, 0x1B, 0x12}, m::kCutterCombo, 0x01},
    {m::kFont, "font",
     "store the character font",
     {0x1F, 0x1B, 0x1F, 0xFA}, m::kFontCombo, 0x00},
    {m::kAlign, "align",
     "set the alignment (ESC a)",
     {0x1B, 0x61}, m::kAlignCombo, 0x00},
    {m::kMagnify, "magnify",
     "set the character magnification (GS !)",
     {0x1D, 0x21}, m::kMagnifyCombo, 0x00,
     combo::kMagnificationsBeyondList},
    {m::kSelfTest, "selftest",
     "the SelfTest button: the self-test page and a line feed, --count times",
     {0x1F, 0x11, 0x04, 0x0A}},
    // Both drawer outputs pulse in one string, a NUL between them.
    {m::kDrawer, "drawer",
     "pulse both cash drawer outputs",
     Joined(Joined(BuildDrawerPulse(1), {0x00}), BuildDrawerPulse(2))},
    {m::kBuzzerTest, "buzzer-test",
     "sound the buzzer",
     {0x1B, 0x42, 0x03, 0x02}},
};

} // namespace

std::span<const MainCommandDef> MainCommandTable()
{
    return kTable;
}

std::span<const Choice> ChoicesOf(const MainCommandDef& def)
{
    for (const ComboContent& combo : kMainCombos)
        if (combo.id == def.comboId) return combo.items;
    return {};
}

const MainCommandDef* FindMainCommandByButton(int buttonId)
{
    return FindRow(kTable, &MainCommandDef::buttonId, buttonId);
}

const MainCommandDef* FindMainCommandByCliName(std::string_view name)
{
    return FindRow(kTable, &MainCommandDef::cliName, name);
}

Bytes BuildMainCommand(const MainCommandDef& def, std::string_view comboText)
{
    Bytes out = def.fixed;
    if (def.comboId == 0) return out;
    out.push_back(def.noMatch);
    for (const auto& list : {ChoicesOf(def), def.beyond}) {
        for (const Choice& choice : list) {
            if (choice.item == comboText) {
                out.back() = choice.byte;
                return out;
            }
        }
    }
    return out;
}

} // namespace tallyx
