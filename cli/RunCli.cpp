#include "cli/RunCli.h"

#include <CLI/CLI.hpp>

#include "res/Address.h"
#include "res/Version.h"
#include "cli/CliCommands.h"
#include "cli/CliContext.h"
#include "cli/CliTexts.h"

namespace tallyx::cli {

void OnRun(CLI::App* sub, CliContext& ctx, std::function<int()> action)
{
    sub->callback([&ctx, action = std::move(action)] { ctx.SetAction(action); });
}

CLI::Validator AddressValidator()
{
    return CLI::Validator(
        [](std::string& text) { return ParseAddressText(text) ? std::string() : std::string(kTextBadAddress); },
        "A.B.C.D");
}

namespace {

constexpr const char* kDescription =
    "Sets up and tests a thermal receipt printer: every command sends the bytes the printer tool's "
    "window would send for the same button.";
constexpr const char* kFooter =
    "Exit status: 0 sent (or printed); 2 input refused, standard error holds the message the window "
    "would show; 3 link failure, its message on standard error; 64 usage error.\n"
    "Run 'tallyx-cli COMMAND --help' for a command's arguments and accepted values.";

void AddLinkOptions(CLI::App& app, LinkOptions& options)
{
    app.add_option("--port", options.port,
                   "COM1..COM4, a serial device path (/dev/ttyUSB0), USB (the first USB printer) or Ethernet")
        ->capture_default_str();
    // The window's baud list, said once.
    std::string rates;
    for (size_t i = 0; i < combo::kBauds.size(); ++i)
        rates += std::string(i == 0 ? "" : i + 1 == combo::kBauds.size() ? " or " : ", ") +
                 std::string(combo::kBauds[i].item);
    app.add_option("--baud", options.baud, "serial rate: " + rates + "; any other text means 9600")
        ->capture_default_str();
    app.add_option("--ip", options.ip, "the printer's address (Ethernet, query-network, set-network)")
        ->capture_default_str()
        ->check(AddressValidator());
    app.add_option("--tcp-port", options.tcpPort, "the printer's TCP port")
        ->capture_default_str()
        ->check(CLI::Range(1, 65535));
    app.add_option("--log", options.logPath,
                   "append one JSON line per command sent to FILE: time, link, target, bytes in hex, length, "
                   "outcome (sent, dry-run or the fault)");
    app.add_flag("--dry-run", options.dryRun,
                 "print each command's bytes (upper-case hex pairs, one line per send); open and send nothing");
}

} // namespace

int RunCli(const std::vector<std::string>& args, Platform& platform, std::istream& in, std::ostream& out,
           std::ostream& err)
{
    CliContext ctx(platform, in, out, err);
    CLI::App app(kDescription, "tallyx-cli");
    app.footer(kFooter);
    app.fallthrough();   // link options may also follow the command
    app.require_subcommand(1, 1);
    app.set_version_flag("--version", std::string(kVersionText));
    AddLinkOptions(app, ctx.options);
    RegisterMainCommands(app, ctx);
    RegisterTextCommand(app, ctx);
    RegisterNetworkCommands(app, ctx);
    RegisterPictureCommands(app, ctx);
    RegisterSymbolCommands(app, ctx);
    RegisterMaintenanceCommands(app, ctx);
    RegisterStatusCommand(app, ctx);

    std::vector<const char*> argv{"tallyx-cli"};
    for (const std::string& a : args) argv.push_back(a.c_str());
    try {
        app.parse(int(argv.size()), argv.data());
    } catch (const CLI::ParseError& e) {
        // Help is printed to standard output and is a success; everything else is a usage error.
        return app.exit(e, out, err) == 0 ? kExitSent : kExitUsage;
    }
    if (!ctx.OpenLog()) return ctx.Status();
    return ctx.RunAction();
}

} // namespace tallyx::cli
