#pragma once
// The command families of tallyx-cli. A family is one registration function in a file of
// its own; adding a family is adding its file and one call in RunCli.cpp.
#include <functional>

namespace CLI {
class App;
class Validator;
} // namespace CLI

namespace tallyx::cli {

class CliContext;

void RegisterMainCommands(CLI::App& app, CliContext& ctx);      // MainCommandsCli.cpp
void RegisterTextCommand(CLI::App& app, CliContext& ctx);       // TextCli.cpp
void RegisterNetworkCommands(CLI::App& app, CliContext& ctx);   // NetworkCli.cpp
void RegisterPictureCommands(CLI::App& app, CliContext& ctx);   // PictureCli.cpp
void RegisterSymbolCommands(CLI::App& app, CliContext& ctx);    // SymbolCli.cpp
void RegisterMaintenanceCommands(CLI::App& app, CliContext& ctx);   // MaintenanceCli.cpp
void RegisterStatusCommand(CLI::App& app, CliContext& ctx);     // StatusCli.cpp

// Makes `action` the run's work when the subcommand is chosen.
void OnRun(CLI::App* sub, CliContext& ctx, std::function<int()> action);
// Accepts what a four-field address control can hold (see ParseAddressText).
CLI::Validator AddressValidator();

} // namespace tallyx::cli
