// The main window's setting and test buttons: each row is the whole definition of one command.
#include "commands/MainCommands.h"

#include <array>

#include "res/MainWindowIds.h"

namespace tallyx {
namespace {
namespace m = id::main;

constexpr ParamChoice kPrintModeChoices[] = {{"ASCII", 0x00}};           // anything else: Chinese
constexpr ParamChoice kDensityChoices[] = {
    {"Level1", 0x01}, {"Level2", 0x02}, {"Level3", 0x03}, {"Level4", 0x04}};
constexpr ParamChoice kPrinterBaudChoices[] = {
    {"4800", 0x00}, {"9600", 0x01}, {"19200", 0x02}, {"38400", 0x03}, {"57600", 0x04}, {"115200", 0x05}};
constexpr ParamChoice kSwitchChoices[] = {{"OFF", 0x00}};                // anything else: ON
constexpr ParamChoice kFontChoices[] = {{"Font_1", 0x00}, {"Font_2", 0x01}, {"Font_3", 0x02}};
constexpr ParamChoice kAlignChoices[] = {{"左对齐", 0x00}, {"居中对齐", 0x01}, {"右对齐", 0x02}};
// GS ! n: width factor - 1 in the high nibble, height factor - 1 in the low one.
// "1.33倍" is not in the combo's list, but the printer knows 44, so the table keeps it.
constexpr ParamChoice kMagnifyChoices[] = {
    {"1倍", 0x00}, {"2倍", 0x11}, {"3倍", 0x22}, {"4倍", 0x33}, {"1.33倍", 0x44}};

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
    {m::kPrintMode, "print-mode", {0x1B, 0x4E, 0x03}, m::kPrintModeCombo, kPrintModeChoices, 0x01},
    {m::kDensity, "density", {0x1B, 0x4E, 0x04}, m::kDensityCombo, kDensityChoices, 0x03},
    {m::kPrinterBaud, "printer-baud", {0x1B, 0x4E, 0x01}, m::kPrinterBaudCombo, kPrinterBaudChoices, 0x01},
    {m::kBuzzer, "buzzer", {0x1F, 0x1B, 0x11}, m::kBuzzerCombo, kSwitchChoices, 0x01},
    {m::kCutter, "cutter", {0x1F, 0x1B, 0x12}, m::kCutterCombo, kSwitchChoices, 0x01},
    {m::kFont, "font", {0x1F, 0x1B, 0x1F, 0xFA}, m::kFontCombo, kFontChoices, 0x00},
    {m::kAlign, "align", {0x1B, 0x61}, m::kAlignCombo, kAlignChoices, 0x00},    // ESC a n
    {m::kMagnify, "magnify", {0x1D, 0x21}, m::kMagnifyCombo, kMagnifyChoices, 0x00},
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
    for (const MainCommandDef& def : kTable)
        if (def.buttonId == buttonId) return &def;
    return nullptr;
}

const MainCommandDef* FindMainCommandByCliName(std::string_view name)
{
    for (const MainCommandDef& def : kTable)
        if (def.cliName == name) return &def;
    return nullptr;
}

Bytes BuildMainCommand(const MainCommandDef& def, std::string_view comboText)
{
    Bytes out = def.fixed;
    if (def.comboId == 0) return out;
    uint8_t param = def.noMatch;
    for (const ParamChoice& choice : def.choices) {
        if (choice.itemText == comboText) {
            param = choice.value;
            break;
        }
    }
    out.push_back(param);
    return out;
}

} // namespace tallyx
