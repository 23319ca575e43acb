// Every button's bytes, and how each parameter combo's text picks the last byte.
#include <gtest/gtest.h>

#include <set>

#include "commands/MainCommands.h"
#include "res/MainWindowIds.h"
#include "tests/support/Hex.h"

using namespace tallyx;
using namespace tallyx::test;

namespace {

std::string Press(int button, std::string_view comboText = {})
{
    const MainCommandDef* def = FindMainCommandByButton(button);
    if (!def) return "no such button";
    return Hex(BuildMainCommand(*def, comboText));
}

} // namespace

TEST(MainCommands, ButtonsWithoutParameter)
{
    const std::pair<int, std::string> rows[] = {
        {1051, "1B 40 0A"},
        {1053, "1B 2D 02 1C 2D 02 0A"},
        {1054, "1B 45 01"},
        {1056, "1B 56 01"},
        {1057, "1B 7B 01"},
        {1058, "1D 42 01"},
        {1040, "1F 11 04"},
        {1018, "1F 11 03"},
        {1047, "1F 1B 19"},
        {1077, "1F 11 04 0A"},
        {1079, "1B 70 00 30 30 00 1B 70 01 30 30"},
        {1080, "1B 42 03 02"},
    };
    for (const auto& [button, bytes] : rows) {
        SCOPED_TRACE(button);
        EXPECT_EQ(Press(button), bytes);
        EXPECT_EQ(Press(button, "anything"), bytes);
    }
}

TEST(MainCommands, ParameterByExactItemText)
{
    struct Row {
        int button;
        std::string_view text;
        std::string bytes;
    };
    const Row rows[] = {
        {1041, "ASCII", "1B 4E 03 00"}, {1041, "Chinese", "1B 4E 03 01"}, {1041, "ascii", "1B 4E 03 01"},
        {1042, "Level1", "1B 4E 04 01"}, {1042, "Level2", "1B 4E 04 02"}, {1042, "Level3", "1B 4E 04 03"},
        {1042, "Level4", "1B 4E 04 04"}, {1042, "Level5", "1B 4E 04 03"}, {1042, "", "1B 4E 04 03"},
        {1045, "4800", "1B 4E 01 00"}, {1045, "9600", "1B 4E 01 01"}, {1045, "19200", "1B 4E 01 02"},
        {1045, "38400", "1B 4E 01 03"}, {1045, "57600", "1B 4E 01 04"}, {1045, "115200", "1B 4E 01 05"},
        {1045, "2400", "1B 4E 01 01"},
        {1043, "ON", "1F 1B 11 01"}, {1043, "OFF", "1F 1B 11 00"}, {1043, "off", "1F 1B 11 01"},
        {1044, "ON", "1F 1B 12 01"}, {1044, "OFF", "1F 1B 12 00"},
        {1048, "Font_1", "1F 1B 1F FA 00"}, {1048, "Font_2", "1F 1B 1F FA 01"},
        {1048, "Font_3", "1F 1B 1F FA 02"}, {1048, "Font_4", "1F 1B 1F FA 00"},
        {1059, "左对齐", "1B 61 00"}, {1059, "居中对齐", "1B 61 01"}, {1059, "右对齐", "1B 61 02"},
        {1059, "left", "1B 61 00"},
        {1060, "1倍", "1D 21 00"}, {1060, "2倍", "1D 21 11"}, {1060, "3倍", "1D 21 22"},
        {1060, "4倍", "1D 21 33"}, {1060, "1.33倍", "1D 21 44"}, {1060, "5倍", "1D 21 00"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::to_string(row.button) + " " + std::string(row.text));
        EXPECT_EQ(Press(row.button, row.text), row.bytes);
    }
}

TEST(MainCommands, TableHoldsTwentyButtonsWithTheirComboAndCommandName)
{
    const std::tuple<int, std::string_view, int> rows[] = {
        {1051, "init", 0}, {1053, "underline", 0}, {1054, "bold", 0}, {1056, "rotate", 0},
        {1057, "upside-down", 0}, {1058, "reverse", 0}, {1040, "selftest-page", 0},
        {1018, "hex-mode", 0}, {1047, "factory-reset", 0}, {1041, "print-mode", 1032},
        {1042, "density", 1035}, {1045, "printer-baud", 1046}, {1043, "buzzer", 1033},
        {1044, "cutter", 1034}, {1048, "font", 1049}, {1059, "align", 1061},
        {1060, "magnify", 1062}, {1077, "selftest", 0}, {1079, "drawer", 0}, {1080, "buzzer-test", 0},
    };
    for (const auto& [button, name, combo] : rows) {
        SCOPED_TRACE(name);
        const MainCommandDef* byName = FindMainCommandByCliName(name);
        ASSERT_NE(byName, nullptr);
        EXPECT_EQ(byName, FindMainCommandByButton(button));
        EXPECT_EQ(byName->comboId, combo);
    }
    EXPECT_EQ(FindMainCommandByButton(id::main::kCutterCheck), nullptr);   // the cutter test opens a dialog
    EXPECT_EQ(FindMainCommandByCliName("Init"), nullptr);
}
