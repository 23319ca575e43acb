#pragma once
// Items of the main window's combo boxes and the item each starts on.
#include <array>
#include <span>
#include <string_view>

#include "res/MainWindowIds.h"

namespace tallyx {

struct ComboContent {
    int id;
    std::span<const std::string_view> items;
    int selected;
};

namespace combo {
inline constexpr std::array<std::string_view, 6> kPorts{"COM1", "COM2", "COM3", "COM4", "USB", "Ethernet"};
inline constexpr std::array<std::string_view, 6> kBauds{"4800", "9600", "19200", "38400", "57600", "115200"};
inline constexpr std::array<std::string_view, 2> kPrintModes{"ASCII", "Chinese"};
inline constexpr std::array<std::string_view, 2> kOnOff{"ON", "OFF"};
inline constexpr std::array<std::string_view, 4> kDensities{"Level1", "Level2", "Level3", "Level4"};
inline constexpr std::array<std::string_view, 3> kFonts{"Font_1", "Font_2", "Font_3"};
inline constexpr std::array<std::string_view, 3> kAlignments{"左对齐", "居中对齐", "右对齐"};
inline constexpr std::array<std::string_view, 4> kMagnifications{"1倍", "2倍", "3倍", "4倍"};
inline constexpr std::array<std::string_view, 2> kDhcp{"NO", "YES"};

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

// The DHCP combo takes its items from the template; its selection follows g_dhcpIndex.
inline constexpr ComboContent kDhcpCombo{id::main::kDhcp, combo::kDhcp, 0};

} // namespace tallyx
