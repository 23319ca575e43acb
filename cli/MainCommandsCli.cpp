// One subcommand per button of the main window's command table; the parameter is the text
// of the combo beside the button (plus a few English spellings).
#include <CLI/CLI.hpp>

#include <memory>

#include "cli/CliCommands.h"
#include "cli/CliContext.h"
#include "commands/MainCommands.h"
#include "res/Combos.h"

namespace tallyx::cli {
namespace {

struct CommandHelp {
    std::string_view cliName;
    std::string_view help;
};

constexpr CommandHelp kHelp[] = {
    {"init", "initialise the printer (ESC @, then a line feed)"},
    {"underline", "switch underlining on (ESC - 2, FS - 2)"},
    {"bold", "switch bold printing on (ESC E 1)"},
    {"rotate", "switch 90-degree rotated printing on (ESC V 1)"},
    {"upside-down", "switch upside-down printing on (ESC { 1)"},
    {"reverse", "switch white-on-black printing on (GS B 1)"},
    {"selftest-page", "print the self-test page"},
    {"hex-mode", "put the printer into its hexadecimal dump mode"},
    {"factory-reset", "restore the printer's factory settings (asks nothing)"},
    {"print-mode", "store the print mode"},
    {"density", "store the print density"},
    {"printer-baud", "store the printer's own serial rate (not this program's --baud)"},
    {"buzzer", "store whether the buzzer sounds"},
    {"cutter", "store whether the cutter cuts"},
    {"font", "store the character font"},
    {"align", "set the alignment (ESC a)"},
    {"magnify", "set the character magnification (GS !)"},
    {"selftest", "the SelfTest button: the self-test page and a line feed, --count times"},
    {"drawer", "pulse both cash drawer outputs"},
    {"buzzer-test", "sound the buzzer"},
};

struct Alias {
    std::string_view cliName;
    std::string_view alias;
    std::string_view item;
};

constexpr Alias kAliases[] = {
    {"align", "left", "左对齐"}, {"align", "center", "居中对齐"}, {"align", "right", "右对齐"},
    {"magnify", "1", "1倍"}, {"magnify", "2", "2倍"}, {"magnify", "3", "3倍"}, {"magnify", "4", "4倍"},
};

std::string_view HelpOf(std::string_view cliName)
{
    for (const CommandHelp& h : kHelp)
        if (h.cliName == cliName) return h.help;
    return {};
}

// The items of the combo beside the button: only these can be chosen in the window.
std::vector<std::string> AcceptedValues(const MainCommandDef& def)
{
    std::vector<std::string> values;
    for (const ComboContent& combo : kMainCombos)
        if (combo.id == def.comboId)
            for (const Choice& c : combo.items) values.emplace_back(c.item);
    for (const Alias& a : kAliases)
        if (a.cliName == def.cliName) values.emplace_back(a.alias);
    return values;
}

std::string ItemText(const MainCommandDef& def, const std::string& value)
{
    for (const Alias& a : kAliases)
        if (a.cliName == def.cliName && a.alias == value) return std::string(a.item);
    return value;
}

void RegisterSelfTest(CLI::App& app, CliContext& ctx, const MainCommandDef& def)
{
    CLI::App* sub = app.add_subcommand(std::string(def.cliName), std::string(HelpOf(def.cliName)));
    auto count = std::make_shared<uint32_t>(1);
    sub->add_option("--count", *count, "how many times (0 sends nothing)")->capture_default_str();
    OnRun(sub, ctx, [&ctx, &def, count] { return ctx.SendRepeated(BuildMainCommand(def), *count); });
}

} // namespace

void RegisterMainCommands(CLI::App& app, CliContext& ctx)
{
    for (const MainCommandDef& def : MainCommandTable()) {
        if (def.buttonId == id::main::kSelfTest) {
            RegisterSelfTest(app, ctx, def);
            continue;
        }
        CLI::App* sub = app.add_subcommand(std::string(def.cliName), std::string(HelpOf(def.cliName)));
        auto value = std::make_shared<std::string>();
        if (def.comboId != 0)
            sub->add_option("VALUE", *value, "the item of the window's list")
                ->required()
                ->check(CLI::IsMember(AcceptedValues(def)));
        OnRun(sub, ctx, [&ctx, &def, value] { return ctx.Send(BuildMainCommand(def, ItemText(def, *value))); });
    }
}

} // namespace tallyx::cli
