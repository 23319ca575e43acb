// The main window's setting and test buttons: each row is the whole definition of one command.
#include "commands/MainCommands.h"

#include <array>

#include "res/Combos.h"
#include "res/MainWindowIds.h"

namespace tallyx {
namespace {
namespace m = id::main;

const std::array<MainCommandDef, 20> kTable{{
    {m::kInit, "init", {0x1B, 0x40, 0x0A}},                          // ESC @, LF
    {m::kUnderline, "underline", {0x1B, 0x2D, 0x02, 0x1C, 0x2D, 0x02, 0x0A}},  // ESC - 2, FS - 2, LF
    {m::kBold, "bold", {0x1B, 0x45, 0x01}},                          // ESC E 1
    {m::kRotate, "rotate", {0x1B, 0x56, 0x01}},                        // ESC V 1
    {m::kUpsideDown, "upside-down", {0x1B, 0x7B, 0x01}},                   // ESC { 1
    {m::kReverse, "reverse", {0x1D, 0x42, 0x01}},                       // GS B 1
    {m::kSelfTestPage, "selftest-page", {0x1F, 0x11, 0x04}},
    {m::kHexMode, "hex-mode", {0x1F, 0x11, 0x03}},
    {m::kFactoryReset, "factory-reset", {0x1F, 0x1B, 0x19}},
    {m::kPrintMode, "print-mode", {0x1B, 0x4E, 0x03}, m::kPrintModeCombo, combo::kPrintModes, 0x01},
    {m::kDensity, "density", {0x1B, 0x4E, 0x04}, m::kDensityCombo, combo::kDensities, 0x03},
    {m::kPrinterBaud, "printer-baud", {0x1B, 0x4E, 0x01}, m::kPrinterBaudCombo, combo::kBauds, 0x01},
    {m::kBuzzer, "buzzer", {0x1F, 0x1B, 0x11}, m::kBuzzerCombo, combo::kOnOff, 0x01},
    {m::kCutter, "cutter", {0x1F, 0x1B, 0x12}, m::kCutterCombo, combo::kOnOff, 0x01},
    {m::kFont, "font", {0x1F, 0x1B, 0x1F, 0xFA}, m::kFontCombo, combo::kFonts, 0x00},
    {m::kAlign, "align", {0x1B, 0x61}, m::kAlignCombo, combo::kAlignments, 0x00},    // ESC a n
    {m::kMagnify, "magnify", {0x1D, 0x21}, m::kMagnifyCombo, combo::kMagnifications, 0x00,
     combo::kMagnificationsBeyondList},
    {m::kSelfTest, "selftest", {0x1F, 0x11, 0x04, 0x0A}},
    // ESC p 0 and ESC p 1, on/off times 30: both drawer outputs pulse in one string.
    {m::kDrawer, "drawer", {0x1B, 0x70, 0x00, 0x30, 0x30, 0x00, 0x1B, 0x70, 0x01, 0x30, 0x30}},
    {m::kBuzzerTest, "buzzer-test", {0x1B, 0x42, 0x03, 0x02}},
}};

} // namespace

std::span<const MainCommandDef> MainCommandTable()
{
    return kTable;
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
    for (const auto& list : {def.choices, def.beyond}) {
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
