// status: what the printer says of itself (DLE EOT 1-4) and who it is (GS I), once or
// watched, in words or as JSON lines.
#include <CLI/CLI.hpp>

#include <nlohmann/json.hpp>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <ostream>
#include <thread>

#include "cli/CliCommands.h"
#include "cli/CliContext.h"
#include "cli/CliTexts.h"
#include "cli/Interrupt.h"
#include "jobs/PrinterQueries.h"

namespace tallyx::cli {
namespace {

constexpr double kWatchMinSeconds = 0.05;
constexpr double kWatchMaxSeconds = 86400;

struct StatusArgs {
    bool json = false;
    double watchSeconds = 0;
};

constexpr int kExitCannotPrint = 4;
constexpr int kWatchSliceMs = 20;

std::string_view PaperWord(PaperLevel level)
{
    switch (level) {
    case PaperLevel::NearEnd: return kWordPaperNearEnd;
    case PaperLevel::Out: return kWordPaperOut;
    case PaperLevel::Ok: break;
    }
    return kWordPaperOk;
}

std::vector<std::string_view> Errors(const PrinterStatus& s)
{
    std::vector<std::string_view> out;
    if (s.cutterError) out.push_back(kWordCutterError);
    if (s.unrecoverable) out.push_back(kWordUnrecoverable);
    if (s.autoRecoverable) out.push_back(kWordAutoRecoverable);
    return out;
}

std::string JsonLine(const StatusReport& r)
{
    const auto text = [](const std::optional<std::string>& v) { return v ? nlohmann::json(*v) : nlohmann::json(nullptr); };
    nlohmann::json errors = nlohmann::json::array();
    for (std::string_view e : Errors(r.status)) errors.push_back(std::string(e));
    const nlohmann::ordered_json line = {
        {"online", !r.status.offline},
        {"coverOpen", r.status.coverOpen},
        {"feedButton", r.status.feedButton},
        {"drawerPin", r.status.drawerPinHigh},
        {"paper", std::string(PaperWord(r.status.paper))},
        {"errors", errors},
        {"model", text(r.model)},
        {"maker", text(r.maker)},
        {"firmware", text(r.firmware)},
        {"serial", text(r.serial)},
    };
    return line.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) + '\n';
}

std::string WordLines(const StatusReport& r)
{
    const PrinterStatus& s = r.status;
    const auto yesNo = [](bool b) { return std::string(b ? kWordYes : kWordNo); };
    const auto text = [](const std::optional<std::string>& v) { return v ? *v : std::string(kWordNoAnswer); };
    std::string errors;
    for (std::string_view e : Errors(s)) errors += (errors.empty() ? "" : ", ") + std::string(e);
    std::string out;
    out += "online: " + yesNo(!s.offline) + '\n';
    out += "cover: " + std::string(s.coverOpen ? kWordOpen : kWordClosed) + '\n';
    out += "paper: " + std::string(PaperWord(s.paper)) + '\n';
    out += "drawer pin: " + std::string(s.drawerPinHigh ? kWordHigh : kWordLow) + '\n';
    out += "feed button: " + std::string(s.feedButton ? kWordPressed : kWordReleased) + '\n';
    out += "errors: " + (errors.empty() ? std::string(kWordNone) : errors) + '\n';
    out += "model: " + text(r.model) + '\n';
    out += "firmware: " + text(r.firmware) + '\n';
    out += "maker: " + text(r.maker) + '\n';
    out += "serial: " + text(r.serial) + '\n';
    return out;
}

void TakeIdentity(const StatusReport& from, StatusReport& to)
{
    to.firmware = from.firmware;
    to.maker = from.maker;
    to.model = from.model;
    to.serial = from.serial;
}

int RunStatus(CliContext& ctx, const StatusArgs& args)
{
    if (ctx.options.dryRun) {
        for (const QueryStep& step : StatusQuerySteps()) ctx.PrintCommand(step.request);
        return kExitSent;
    }
    if (!ctx.OpenPort()) return ctx.Status();
    Link& link = ctx.TheLink();
    InterruptGuard interrupts;
    std::stop_source stop;
    // Ctrl-C ends a query's wait at once, not at its bound; the end of the command ends the
    // watcher at once too (a sleep here would add its slice to every status).
    std::jthread watcher([&stop](std::stop_token done) {
        std::mutex mutex;
        std::condition_variable_any wake;
        std::unique_lock lock(mutex);
        while (!done.stop_requested() && !g_interrupted.load())
            wake.wait_for(lock, done, std::chrono::milliseconds(kWatchSliceMs), [] { return g_interrupted.load(); });
        if (g_interrupted.load()) stop.request_stop();
    });

    int status = kExitSent;
    std::string last;
    // After the first round a watch asks the identity once, of an online printer, and keeps
    // it: it does not change, and a printer that does not know GS I (or is offline) would
    // add a reply bound to every round.
    std::optional<StatusReport> identity;
    for (bool first = true;; first = false) {
        StatusReport report = ReadPrinterStatus(link, stop.get_token(), first);
        const bool online = report.ok() && !report.status.offline;
        if (!first && !identity && online) report = ReadPrinterStatus(link, stop.get_token());
        if (identity && report.ok()) TakeIdentity(*identity, report);
        else if (online && report.ok()) identity = report;
        if (g_interrupted.load()) break;
        std::string shown;
        if (!report.ok()) {
            shown = std::string(FaultCliText(report.outcome.fault));
            if (shown != last) ctx.ReportFault(report.outcome);
            status = ctx.Status();
        } else {
            shown = args.json ? JsonLine(report) : WordLines(report);
            if (shown != last) ctx.Out() << shown << std::flush;
            status = CanPrint(report.status) ? kExitSent : kExitCannotPrint;
        }
        last = shown;
        if (args.watchSeconds <= 0) break;
        const auto until = std::chrono::steady_clock::now() + std::chrono::duration<double>(args.watchSeconds);
        while (!g_interrupted.load() && std::chrono::steady_clock::now() < until)
            std::this_thread::sleep_for(std::chrono::milliseconds(kWatchSliceMs));
        if (g_interrupted.load()) break;
        ctx.ResetStatus();
    }
    watcher.request_stop();
    link.Disconnect();
    return g_interrupted.load() ? kExitInterrupted : status;
}

} // namespace

void RegisterStatusCommand(CLI::App& app, CliContext& ctx)
{
    auto args = std::make_shared<StatusArgs>();
    CLI::App* sub = app.add_subcommand(
        "status", "ask the printer for its status (DLE EOT 1-4) and identity (GS I 65-68); exit 0 it can print, "
                  "4 it answered but cannot print, 3 no answer");
    sub->add_flag("--json", args->json, "one JSON object a line");
    // NaN passes every comparison and 1e-9 asks without pause: only a finite range is taken.
    const CLI::Validator watchRange(
        [](std::string& text) -> std::string {
            char* end = nullptr;
            const double seconds = std::strtod(text.c_str(), &end);
            if (end == text.c_str() || *end != '\0' || !std::isfinite(seconds) || seconds < kWatchMinSeconds ||
                seconds > kWatchMaxSeconds)
                return "an interval from 0.05 seconds to one day (86400 seconds)";
            return {};
        },
        "0.05..86400");
    sub->add_option("--watch", args->watchSeconds, "ask every SECONDS, print only what changed, until Ctrl-C")
        ->check(watchRange);
    OnRun(sub, ctx, [&ctx, args] { return RunStatus(ctx, *args); });
}

} // namespace tallyx::cli
