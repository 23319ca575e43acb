// Pictures and NV logos on the command line: the NV logo dialog's four buttons, with the
// slot and mode given by their list items and the bitmap file by its path; pictures of
// any format through the picture conversion.
#include <CLI/CLI.hpp>

#include <chrono>
#include <memory>
#include <optional>
#include <ostream>
#include <thread>

#include "cli/CliCommands.h"
#include "cli/CliContext.h"
#include "commands/NvLogo.h"
#include "commands/Picture.h"
#include "decode/PictureFile.h"
#include "res/Combos.h"
#include "res/Messages.h"
#include "res/NvLogoTemplate.h"

namespace tallyx::cli {
namespace {

struct LogoArgs {
    int slot = 1;
    std::string mode{nvlogo::kModeItems[0]};
    std::string file;
};

// The conversion's choices as typed; unset ones take the file's defaults.
struct PictureArgs {
    std::optional<std::string> dither;
    std::optional<int> width;
    std::optional<int> paper;
    std::optional<std::string> command;
    std::optional<int> darkness;
    std::string preview;

    bool AtDefaults() const { return !dither && !width && !paper && !command && !darkness; }
};

template <class Table>
std::vector<std::string> NamesOf(const Table& table)
{
    std::vector<std::string> names;
    for (const auto& row : table) names.emplace_back(row.name);
    return names;
}

template <class Table>
std::string ListedNames(const Table& table)
{
    std::string text;
    for (const auto& row : table) text += (text.empty() ? "" : ", ") + std::string(row.name);
    return text;
}

// A BMP takes the threshold unless told otherwise; other files Floyd-Steinberg.
PictureOptions OptionsFor(const PictureArgs& a, bool bmp)
{
    PictureOptions o;
    o.method = bmp ? DitherMethod::Threshold : DitherMethod::FloydSteinberg;
    if (a.dither) o.method = FindRow(kDitherNames, &DitherName::name, *a.dither)->method;
    if (a.command) o.command = FindRow(kPictureCommandNames, &PictureCommandName::name, *a.command)->command;
    if (a.paper) o.width = *a.paper == 58 ? kPaper58Dots : kPaper80Dots;
    if (a.width) {
        o.width = *a.width;
        o.fit = Fit::Exact;
    }
    o.darkness = a.darkness.value_or(0);
    return o;
}

// The file decoded and converted, or the message that refuses it.
PictureResult Convert(const std::string& file, const PictureArgs& a)
{
    const DecodeResult decoded = DecodePictureFile(file, OptionsFor(a, IsBmpFile(file)));
    if (const Message* refusal = decoded.refusal()) return *refusal;
    return ConvertPicture(decoded.picture().Rows(), OptionsFor(a, decoded.picture().bmp));
}

void AddPictureOptions(CLI::App* sub, PictureArgs& a, bool withCommand)
{
    sub->add_option("--dither", a.dither, "how grey becomes dots: " + ListedNames(kDitherNames) +
                                              " (default: threshold for a BMP, floyd-steinberg for other files)")
        ->check(CLI::IsMember(NamesOf(kDitherNames)));
    CLI::Option* width = sub->add_option("--width", a.width, "scale the picture to DOTS across, keeping its aspect")
                             ->check(CLI::Range(1, kPictureMaxDots));
    CLI::Option* paper = sub->add_option("--paper", a.paper,
                                         "fit to the head of 58 mm (384 dots) or 80 mm (576 dots, the default) paper: "
                                         "wider pictures shrink, narrower ones keep their size")
                             ->check(CLI::IsMember(std::vector<int>{58, 80}));
    width->excludes(paper);
    if (withCommand) {
        std::string help = "how the dots are sent:";
        for (const PictureCommandName& c : kPictureCommandNames)
            help += " " + std::string(c.name) + " (" + std::string(c.help) + ")";
        sub->add_option("--command", a.command, help + "; default raster")->check(CLI::IsMember(NamesOf(kPictureCommandNames)));
    }
    sub->add_option("--darkness", a.darkness, "-100 (lighter) to 100 (darker); paper stays paper, black stays black")
        ->check(CLI::Range(-kDarknessMax, kDarknessMax));
}

bool IsSerial(const CliContext& ctx)
{
    return !ctx.IsEthernet() && ctx.options.port != combo::kPorts[combo::kPortUsbIndex].item;
}

// Each band a send of its own; over serial the next waits while the head prints.
int SendBands(CliContext& ctx, const std::vector<PictureBand>& bands)
{
    const int baud = std::atoi(ctx.options.baud.c_str());
    for (size_t i = 0; i < bands.size(); ++i) {
        if (const int status = ctx.Send(bands[i].bytes); status != kExitSent) return status;
        if (!ctx.options.dryRun && IsSerial(ctx) && i + 1 < bands.size())
            std::this_thread::sleep_for(std::chrono::milliseconds(BandPauseMs(bands[i], baud)));
    }
    return kExitSent;
}

int WritePreview(CliContext& ctx, const DotPicture& dots, const std::string& path)
{
    if (path.empty() || WriteDotsPng(dots, path)) return kExitSent;
    return ctx.Fail("tallyx-cli: cannot write " + path);
}

// Dots read back from the bit image command, for the preview of a BMP at its defaults.
DotPicture DotsOfTestPicture(const Bytes& cmd)
{
    ColumnDots columns{cmd[2], cmd[3], Bytes(cmd.begin() + 4, cmd.begin() + 4 + 8 * cmd[2] * cmd[3])};
    return FromColumnDots(columns);
}

int RunPicture(CliContext& ctx, const std::string& file, const PictureArgs& a)
{
    // A BMP at its defaults goes as the bitmap command always has.
    if (a.AtDefaults() && IsBmpFile(file)) {
        const Result old = BuildTestPictureCommand(file);
        if (const Message* refusal = old.refusal()) return ctx.Refuse(*refusal);
        if (const int status = WritePreview(ctx, DotsOfTestPicture(old.bytes()), a.preview); status != kExitSent)
            return status;
        return ctx.Send(old.bytes());
    }
    const PictureResult converted = Convert(file, a);
    if (const Message* refusal = converted.refusal()) return ctx.Refuse(*refusal);
    if (const int status = WritePreview(ctx, converted.dots(), a.preview); status != kExitSent) return status;
    return SendBands(ctx, BuildPictureBands(converted.dots(), OptionsFor(a, false).command));
}

Result LogoCommand(const std::string& file, const PictureArgs& a, int slotIndex)
{
    if (a.AtDefaults() && IsBmpFile(file)) return BuildDownloadLogoCommand(file, slotIndex);
    const PictureResult converted = Convert(file, a);
    if (const Message* refusal = converted.refusal()) return *refusal;
    return BuildDownloadLogoCommand(converted.dots(), slotIndex);
}

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
    auto pictureArgs = std::make_shared<PictureArgs>();

    CLI::App* picture = app.add_subcommand(
        "picture", "print a picture file (PNG, JPEG, GIF, WebP, TIFF or BMP), fitted to the paper and dithered; "
                   "a BMP with none of the options below goes exactly as bitmap sends it");
    picture->add_option("FILE", args->file, "the picture file")->required();
    AddPictureOptions(picture, *pictureArgs, true);
    picture->add_option("--preview", pictureArgs->preview, "also write the dots as sent to OUT.png (black = ink)");
    OnRun(picture, ctx, [&ctx, args, pictureArgs] { return RunPicture(ctx, args->file, *pictureArgs); });

    CLI::App* bitmap = app.add_subcommand("bitmap", "print a monochrome bitmap file once (GS *, GS /): the 测试图片 button");
    bitmap->add_option("FILE", args->file, "the .bmp file: 1, 4, 8, 16, 24 or 32 bits, uncompressed, bottom-up")
        ->required();
    OnRun(bitmap, ctx, [&ctx, args] { return SendImage(ctx, BuildTestPictureCommand(args->file)); });

    CLI::App* logo = app.add_subcommand("logo", "store, print or clear a logo in the printer's NV memory");
    logo->fallthrough();
    logo->require_subcommand(1, 1);

    CLI::App* download = logo->add_subcommand("download", "store a bitmap file as logo --slot (FS r): the 下载logo button");
    AddSlot(download, *args);
    download->add_option("FILE", args->file, "the picture file, as for picture; a BMP with no options as for bitmap")
        ->required();
    AddPictureOptions(download, *pictureArgs, false);
    OnRun(download, ctx, [&ctx, args, pictureArgs] {
        return SendImage(ctx, LogoCommand(args->file, *pictureArgs, args->slot - 1), kMsgLogoDownloaded);
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
