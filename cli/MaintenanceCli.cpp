// The code page, cutter endurance and voice chip dialogs on the command line.
#include <CLI/CLI.hpp>

#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <iostream>
#include <memory>
#include <thread>

#include "cli/CliCommands.h"
#include "cli/CliContext.h"
#include "cli/CliTexts.h"
#include "cli/Interrupt.h"
#include "commands/CodePage.h"
#include "commands/CutCycle.h"
#include "commands/Gbk.h"
#include "commands/Voice.h"
#include "jobs/CycleDelivery.h"
#include "res/CodePages.h"

namespace tallyx::cli {
namespace {

struct MaintenanceArgs {
    int codePage = 0;
    uint32_t count = kCutCountDefault;
    uint32_t delayMs = kCutDelayDefaultMs;
    int voice = int(kVoiceFirst);
    std::string amount;
};


std::string CodePageHelp()
{
    std::string help = "the list position, 0 to 74:";
    for (size_t position = 0; position < kCodePages.size(); ++position)
        help += " " + std::to_string(position) + "=" + std::string(kCodePages[position].item);
    return help;
}

// Progress lines only for a person watching a terminal, never into a pipe or a file.
bool ProgressWanted(CliContext& ctx)
{
    return ctx.Err().rdbuf() == std::cerr.rdbuf() && ::isatty(STDERR_FILENO);
}

int RunCutterTest(CliContext& ctx, const MaintenanceArgs& args)
{
    if (auto refusal = CheckCutterSettings(args.count, args.delayMs)) return ctx.Refuse(*refusal);
    if (ctx.options.dryRun) {
        for (uint32_t i = 1; i <= args.count; ++i) ctx.PrintCommand(BuildCutCycle(i));
        return kExitSent;
    }
    if (!ctx.OpenPort()) return ctx.Status();
    Link& link = ctx.TheLink();
    if (link.CheckPortHandle()) {
        CutterRun run;
        run.g_cutCount = args.count;
        run.g_cutDelayMs = args.delayMs;
        ReportProgress progress;
        if (ProgressWanted(ctx)) {
            progress = [&ctx](const CutProgress& p) {
                if (p.cycle > 0 && !p.ended) ctx.Err() << kTextCycle << p.cycle << '/' << p.count << std::endl;
            };
        }
        FixedTarget target = link.CaptureTarget();
        InterruptGuard interrupts;
        run.Start(MakeCycleDelivery(link, std::move(target)), progress);
        while (run.Running()) {
            if (g_interrupted.load()) run.RequestStop();
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        run.Wait();
        if (g_interrupted.load()) {
            link.Disconnect();
            ctx.Err() << kTextCutInterrupted << run.Sent() << '\n';
            return kExitInterrupted;
        }
        if (run.Failures() > 0 && ctx.Status() == kExitSent) {
            ctx.Err() << kTextCutNotDelivered << run.Failures() << '\n';
            link.Disconnect();
            return kExitLinkFailed;
        }
    }
    link.Disconnect();
    return ctx.Status();
}

void RegisterCodePage(CLI::App& app, CliContext& ctx, std::shared_ptr<MaintenanceArgs> args)
{
    CLI::App* codepage = app.add_subcommand("codepage", "the 代码页 dialog: store a code page, print a chart or the self-test page");
    codepage->fallthrough();
    codepage->require_subcommand(1, 1);

    CLI::App* set = codepage->add_subcommand("set", "store a code page in the printer: the Set CodePage button");
    set->add_option("--index", args->codePage, CodePageHelp())->required()->check(CLI::Range(0, int(kCodePages.size()) - 1));
    OnRun(set, ctx, [&ctx, args] { return ctx.Send(*BuildSetCodePageCommand(args->codePage)); });

    CLI::App* chart = codepage->add_subcommand("chart", "print the current code page's characters 80 to FF: Print Current CodePage");
    OnRun(chart, ctx, [&ctx] { return ctx.Send(BuildCodePageChart()); });

    CLI::App* selftest = codepage->add_subcommand("selftest", "print the self-test page: the Print SelfTest button");
    OnRun(selftest, ctx, [&ctx] { return ctx.Send(BuildCodePageSelfTest()); });
}

void RegisterCutterTest(CLI::App& app, CliContext& ctx, std::shared_ptr<MaintenanceArgs> args)
{
    CLI::App* cutter = app.add_subcommand(
        "cutter-test", "the 切刀测试 dialog: numbered cut cycles; Ctrl-C stops after the cycle in progress (exit 130)");
    cutter->add_option("--count", args->count, "cycles to run, 1 to 99999")->capture_default_str();
    cutter->add_option("--delay", args->delayMs, "milliseconds between two cuts (50 more are added), 0 to 5000")
        ->capture_default_str();
    OnRun(cutter, ctx, [&ctx, args] { return RunCutterTest(ctx, *args); });
}

void RegisterVoice(CLI::App& app, CliContext& ctx, std::shared_ptr<MaintenanceArgs> args)
{
    CLI::App* voice = app.add_subcommand("voice", "the 语音测试 dialog: the printer's voice chip");
    voice->fallthrough();
    voice->require_subcommand(1, 1);

    CLI::App* play = voice->add_subcommand("play", "play one of the chip's stored prompts");
    play->add_option("PROMPT", args->voice, "the prompt number, 1 to 22")
        ->required()
        ->check(CLI::Range(int(kVoiceFirst), int(kVoiceLast)));
    OnRun(play, ctx, [&ctx, args] { return ctx.Send(BuildVoicePromptCommand(uint8_t(args->voice))); });

    CLI::App* amount = voice->add_subcommand("amount", "read out a money amount: the RMB测试发音 button");
    amount->add_option("TEXT", args->amount, "digits and full stops, at most 11, below ten million")->required();
    OnRun(amount, ctx, [&ctx, args] {
        const Result result = BuildAmountCommand(Utf8ToGbk(args->amount));
        if (const Message* refusal = result.refusal()) return ctx.Refuse(*refusal);
        return ctx.Send(result.bytes());
    });
}

} // namespace

void RegisterMaintenanceCommands(CLI::App& app, CliContext& ctx)
{
    auto args = std::make_shared<MaintenanceArgs>();
    RegisterCodePage(app, ctx, args);
    RegisterCutterTest(app, ctx, args);
    RegisterVoice(app, ctx, args);
}

} // namespace tallyx::cli
