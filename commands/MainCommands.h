#pragma once
// The twenty setting and test buttons of the main window: one table, one builder.
#include <span>
#include <string_view>

#include "res/Choice.h"
#include "res/Types.h"

namespace tallyx {

struct MainCommandDef {
    int buttonId;                // main-window control id
    std::string_view cliName;    // tallyx-cli command name
    std::string_view help;       // tallyx-cli help of the command
    Bytes fixed;                 // bytes before the parameter byte
    int comboId = 0;             // 0: no parameter; else the window's combo beside the button
    uint8_t noMatch = 0;         // parameter byte when no item text matches
    std::span<const Choice> beyond{};   // texts the printer knows beyond the list
};

// Every button of the family, in the order of the main window's command table.
std::span<const MainCommandDef> MainCommandTable();
// The items of the button's combo (the window's own list), compared in order, exact text.
std::span<const Choice> ChoicesOf(const MainCommandDef& def);
const MainCommandDef* FindMainCommandByButton(int buttonId);
const MainCommandDef* FindMainCommandByCliName(std::string_view name);

// The command bytes of a button; comboText is the current text of its parameter combo
// (ignored for buttons without one).
Bytes BuildMainCommand(const MainCommandDef& def, std::string_view comboText = {});

// ESC p: the pulse of drawer 1 (pin 2) or 2 (pin 5), on and off times 30; the drawer
// button sends both.
Bytes BuildDrawerPulse(int drawer);

} // namespace tallyx
