// One subcommand per button of the main window's command table; the parameter is the text
// of the combo beside the button (or its alias).
#include <CLI/CLI.hpp>

#include <memory>

#include "cli/ChoiceArgs.h"
#include "cli/CliCommands.h"
#include "cli/CliContext.h"
#include "commands/MainCommands.h"
#include "res/MainWindowIds.h"

namespace tallyx::cli {
namespace {

void RegisterSelfTest(CLI::App& app, CliContext& ctx, const MainCommandDef& def)
{
    CLI::App* sub = app.add_subcommand(std::string(def.cliName), std::string(def.help));
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
        CLI::App* sub = app.add_subcommand(std::string(def.cliName), std::string(def.help));
        auto value = std::make_shared<std::string>();
        if (def.comboId != 0)
            // Only the window's items (or their aliases): the window offers nothing else.
            sub->add_option("VALUE", *value, "the item of the window's list")
                ->required()
                ->check(CLI::IsMember(Accepted(ChoicesOf(def))));
        OnRun(sub, ctx, [&ctx, &def, value] { return ctx.Send(BuildMainCommand(def, ItemOf(ChoicesOf(def), *value))); });
    }
}

} // namespace tallyx::cli
