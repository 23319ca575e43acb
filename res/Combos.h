#pragma once
// Items of the main window's combo boxes, the byte each sends and the item each starts on.
// The window fills its combos from these (the byte as item data), the setting commands
// map an item to its byte with them, and the command line offers them.
#include <array>
#include <span>
#include <string_view>

#include "res/Choice.h"
#include "res/MainWindowIds.h"

namespace tallyx {

struct ComboContent {
    int id;
    std::span<const Choice> items;
    int selected;
};

namespace combo {
// The port items send nothing; their byte is their place in the list.
inline constexpr std::array<Choice, 6> kPorts{
    {{"COM1", 0}, {"COM2", 1}, {"COM3", 2}, {"COM4", 3}, {"USB", 4}, {"Ethernet", 5}}};
// The link's rate is the item's number; the printer's baud setting sends the byte.
inline constexpr std::array<Choice, 6> kBauds{
    {{"4800", 0x00}, {"9600", 0x01}, {"19200", 0x02}, {"38400", 0x03}, {"57600", 0x04}, {"115200", 0x05}}};
inline constexpr std::array<Choice, 2> kPrintModes{{{"ASCII", 0x00}, {"Chinese", 0x01}}};
inline constexpr std::array<Choice, 2> kOnOff{{{"ON", 0x01}, {"OFF", 0x00}}};
inline constexpr std::array<Choice, 4> kDensities{{{"Level1", 0x01}, {"Level2", 0x02}, {"Level3", 0x03}, {"Level4", 0x04}}};
inline constexpr std::array<Choice, 3> kFonts{{{"Font_1", 0x00}, {"Font_2", 0x01}, {"Font_3", 0x02}}};
inline constexpr std::array<Choice, 3> kAlignments{
    {{"左对齐", 0x00, "left"}, {"居中对齐", 0x01, "center"}, {"右对齐", 0x02, "right"}}};
// GS ! n: width factor - 1 in the high nibble, height factor - 1 in the low one.
inline constexpr std::array<Choice, 4> kMagnifications{
    {{"1倍", 0x00, "1"}, {"2倍", 0x11, "2"}, {"3倍", 0x22, "3"}, {"4倍", 0x33, "4"}}};
// "1.33倍" is not in the list, but typed into the command line the printer knows it.
inline constexpr std::array<Choice, 1> kMagnificationsBeyondList{{{"1.33倍", 0x44}}};
inline constexpr std::array<Choice, 2> kDhcp{{{"NO", 0x01}, {"YES", 0x02}}};

inline constexpr int kPortUsbIndex = 4;
inline constexpr int kPortEthernetIndex = 5;
} // namespace combo

// Filled by the main window's initialisation, in this order.
inline constexpr std::array<ComboContent, 10> kMainCombos{{
    {id::main::kPort, combo::kPorts, combo::kPortUsbIndex},
    {id::main::kBaud, combo::kBauds, 5},
    {id::main::kPrintModeCombo, combo::kPrintModes, 0},
    {id::main::kBuzzerCombo, combo::kOnOff, 0},
    {id::main::kCutterCombo, combo::kOnOff, 0},
    {id::main::kDensityCombo, combo::kDensities, 2},
    {id::main::kPrinterBaudCombo, combo::kBauds, 5},
    {id::main::kFontCombo, combo::kFonts, 0},
    {id::main::kAlignCombo, combo::kAlignments, 0},
    {id::main::kMagnifyCombo, combo::kMagnifications, 0},
}};

static_assert(kMainCombos[0].id == id::main::kPort && kMainCombos[1].id == id::main::kBaud,
              "the port and baud combos come first");
static_assert(combo::kPorts[combo::kPortUsbIndex].item == "USB" &&
                  combo::kPorts[combo::kPortEthernetIndex].item == "Ethernet",
              "the port indexes name their items");

// The DHCP combo takes its items from the template; its selection follows g_dhcpIndex.
inline constexpr ComboContent kDhcpCombo{id::main::kDhcp, combo::kDhcp, 0};

} // namespace tallyx
