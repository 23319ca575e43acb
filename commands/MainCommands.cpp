// The main window's setting and test buttons: each row is the whole definition of one command.
#include "commands/MainCommands.h"

#include <array>

namespace tallyx {
namespace {

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
    {1051, "init", {0x1B, 0x40, 0x0A}},                          // ESC @, LF
    {1053, "underline", {0x1B, 0x2D, 0x02, 0x1C, 0x2D, 0x02, 0x0A}},  // ESC - 2, FS - 2, LF
    {1054, "bold", {0x1B, 0x45, 0x01}},                          // ESC E 1
    {1056, "rotate", {0x1B, 0x56, 0x01}},                        // ESC V 1
    {1057, "upside-down", {0x1B, 0x7B, 0x01}},                   // ESC { 1
    {1058, "reverse", {0x1D, 0x42, 0x01}},                       // GS B 1
    {1040, "selftest-page", {0x1F, 0x11, 0x04}},
    {1018, "hex-mode", {0x1F, 0x11, 0x03}},
    {1047, "factory-reset", {0x1F, 0x1B, 0x19}},
    {1041, "print-mode", {0x1B, 0x4E, 0x03}, 1032, kPrintModeChoices, 0x01},
    {1042, "density", {0x1B, 0x4E, 0x04}, 1035, kDensityChoices, 0x03},
    {1045, "printer-baud", {0x1B, 0x4E, 0x01}, 1046, kPrinterBaudChoices, 0x01},
    {1043, "buzzer", {0x1F, 0x1B, 0x11}, 1033, kSwitchChoices, 0x01},
    {1044, "cutter", {0x1F, 0x1B, 0x12}, 1034, kSwitchChoices, 0x01},
    {1048, "font", {0x1F, 0x1B, 0x1F, 0xFA}, 1049, kFontChoices, 0x00},
    {1059, "align", {0x1B, 0x61}, 1061, kAlignChoices, 0x00},    // ESC a n
    {1060, "magnify", {0x1D, 0x21}, 1062, kMagnifyChoices, 0x00},
    {kSelfTestButton, "selftest", {0x1F, 0x11, 0x04, 0x0A}},
    // ESC p 0 and ESC p 1, on/off times 30: both drawer outputs pulse in one string.
    {1079, "drawer", {0x1B, 0x70, 0x00, 0x30, 0x30, 0x00, 0x1B, 0x70, 0x01, 0x30, 0x30}},
    {1080, "buzzer-test", {0x1B, 0x42, 0x03, 0x02}},
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
