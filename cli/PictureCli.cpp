// Pictures and NV logos on the command line: the NV logo dialog's four buttons, with the
// slot and mode given by their list items and the bitmap file by its path.
#include <CLI/CLI.hpp>

#include <memory>
#include <ostream>

#include "cli/CliCommands.h"
#include "cli/CliContext.h"
#include "commands/NvLogo.h"
#include "res/Messages.h"
#include "res/NvLogoTemplate.h"

namespace tallyx::cli {
namespace {

struct LogoArgs {
    int slot = 1;
    std::string mode{nvlogo::kModeItems[0]};
    std::string file;
};

int ModeIndex(const std::string& mode)
{
    for (size_t i = 0; i < nvlogo::kModeItems.size(); ++i)
        if (nvlogo::kModeItems[i] == mode) return int(i);
    return 0;   // unreachable: the option accepts the items only
}

// As in the dialog: the file is read and checked before the port is looked at.
int SendImage(CliContext& ctx, const Result& result, std::string_view success = {})
{
    if (const Message* refusal = result.refusal()) return ctx.Refuse(*refusal);
    const int status = ctx.Send(result.bytes());
    if (status == kExitSent && !ctx.options.dryRun && !success.empty()) ctx.Out() << success << '\n';
    return status;
}

CLI::Option* AddSlot(CLI::App* sub, LogoArgs& args)
{
    return sub->add_option("--slot", args.slot, "the logo slot of the printer's NV memory, 1 to 5")
        ->required()
        ->check(CLI::Range(1, kLogoSlotCount));
}

} // namespace

void RegisterPictureCommands(CLI::App& app, CliContext& ctx)
{
    auto args = std::make_shared<LogoArgs>();

    CLI::App* bitmap = app.add_subcommand("bitmap", "print a monochrome bitmap file once (GS *, GS /): the 测试图片 button");
    bitmap->add_option("FILE", args->file, "the .bmp file: 1, 4, 8, 16, 24 or 32 bits, uncompressed, bottom-up")
        ->required();
    OnRun(bitmap, ctx, [&ctx, args] { return SendImage(ctx, BuildTestPictureCommand(args->file)); });

    CLI::App* logo = app.add_subcommand("logo", "store, print or clear a logo in the printer's NV memory");
    logo->fallthrough();
    logo->require_subcommand(1, 1);

    CLI::App* download = logo->add_subcommand("download", "store a bitmap file as logo --slot (FS r): the 下载logo button");
    AddSlot(download, *args);
    download->add_option("FILE", args->file, "the .bmp file, as for bitmap")->required();
    OnRun(download, ctx, [&ctx, args] {
        return SendImage(ctx, BuildDownloadLogoCommand(args->file, args->slot - 1), kMsgLogoDownloaded);
    });

    CLI::App* print = logo->add_subcommand("print", "print logo --slot, centred (FS p): the 打印logo button");
    AddSlot(print, *args);
    print->add_option("--mode", args->mode, "正常 (normal), 倍宽 (double width), 倍高 (double height) or 倍宽倍高 (both)")
        ->capture_default_str()
        ->check(CLI::IsMember(std::vector<std::string>(nvlogo::kModeItems.begin(), nvlogo::kModeItems.end())));
    OnRun(print, ctx,
          [&ctx, args] { return ctx.Send(BuildPrintLogoCommand(args->slot - 1, ModeIndex(args->mode))); });

    CLI::App* clear = logo->add_subcommand("clear", "overwrite logo --slot with an empty one: the 清除logo button");
    AddSlot(clear, *args);
    OnRun(clear, ctx, [&ctx, args] {
        const int status = ctx.Send(BuildClearLogoCommand(args->slot - 1));
        if (status == kExitSent && !ctx.options.dryRun) ctx.Out() << kMsgLogoCleared << '\n';
        return status;
    });
}

} // namespace tallyx::cli
