// tallyx-vprinter: a receipt printer on this machine that prints to PNG files.
#include <CLI/CLI.hpp>
#include <QGuiApplication>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <ctime>
#include <malloc.h>
#include <semaphore.h>

#include "res/RuntimeDir.h"
#include "res/Version.h"
#include "vprinter/Render.h"
#include "vprinter/VirtualPrinter.h"
#include "vprinter/device/DeviceStatus.h"
#include "vprinter/device/Profiles.h"
#include "vprinter/render/Compare.h"

namespace {

constexpr int kBatchHeapKeptBytes = 64 * 1024 * 1024;

sem_t g_quit;

void OnSignal(int)
{
    sem_post(&g_quit);   // async-signal-safe
}

bool ParseHostPort(const std::string& text, tallyx::vprinter::VirtualPrinterOptions& o)
{
    if (text == "none") {
        o.listen = false;
        return true;
    }
    const auto colon = text.rfind(':');
    if (colon == std::string::npos) return false;
    char* end = nullptr;
    const long port = std::strtol(text.c_str() + colon + 1, &end, 10);
    if (*end != '\0' || port < 0 || port > 65535 || colon + 1 == text.size()) return false;
    o.listenHost = text.substr(0, colon);
    o.listenPort = uint16_t(port);
    return true;
}

// Fonts need a GUI application object, but there is no screen to show anything on.
std::unique_ptr<QGuiApplication> StartGui(char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    tallyx::EnsureRuntimeDir();
    static int qtArgc = 1;
    return std::make_unique<QGuiApplication>(qtArgc, argv);
}

// --paper's 58 or 80 (mm) as the head's dots.
int PaperDots(int mm)
{
    return mm == 80 ? tallyx::vprinter::kPaper80Dots : tallyx::vprinter::kPaper58Dots;
}

std::vector<std::string> ProfileNames()
{
    std::vector<std::string> names;
    for (const auto& p : tallyx::vprinter::Profiles()) names.emplace_back(p.name);
    return names;
}

std::string ProfileHelp()
{
    std::string help = "the printer to be:";
    for (const auto& p : tallyx::vprinter::Profiles())
        help += "\n  " + std::string(p.name) + ": " + std::string(p.description);
    return help;
}

// The options render and check share.
struct RenderCommand {
    RenderCommand(CLI::App& cli, const std::string& name, const std::string& help, const std::string& defaultProfile)
        : command(cli.add_subcommand(name, help)), profile(defaultProfile)
    {
        command->add_option("--profile", profile, "the printer to be (see above)")
            ->check(CLI::IsMember(ProfileNames()))->capture_default_str();
        command->add_option("--paper", paper, "paper width in mm (default: the profile's)")->check(CLI::IsMember({58, 80}));
        command->add_flag("--strict", options.strict,
                          "fail on commands a printer would have acted on that this one did not carry out "
                          "(render: exit 3)");
    }
    void AddFiles() { command->add_option("FILE", files, "bytes as sent to the printer")->required(); }
    tallyx::vprinter::RenderOptions Options()
    {
        options.profile = tallyx::vprinter::FindProfile(profile);
        if (paper != 0) options.paperDots = PaperDots(paper);
        return options;
    }

    CLI::App* command;
    tallyx::vprinter::RenderOptions options;
    std::string profile;
    int paper = 0;
    std::vector<std::string> files;
};

// `status`, unless what was said on the standard output could not be written.
int WithOutput(int status, int unwritten)
{
    if (std::fflush(stdout) == 0 && !std::ferror(stdout)) return status;
    std::fprintf(stderr, "tallyx-vprinter: cannot write the standard output: %s\n", std::strerror(errno));
    return status == 0 ? unwritten : status;
}

} // namespace

int main(int argc, char** argv)
{
    using tallyx::vprinter::VirtualPrinterOptions;
    VirtualPrinterOptions options;
    options.logPath = "-";
    std::string listen = "127.0.0.1:9100";
    int paper = 58;
    std::string status;

    CLI::App cli{"A receipt printer that prints to pictures."};
    cli.set_version_flag("--version", std::string(tallyx::kVersionText));
    cli.add_option("--listen", listen, "HOST:PORT of the network port, or none")->capture_default_str();
    cli.add_option("--pty", options.ptyPath, "make PATH a serial port (link to a pseudo-terminal)");
    std::string http;
    cli.add_option("--http", http, "serve a live page of the roll on [HOST:]PORT (HOST: 127.0.0.1 unless given)");
    cli.add_option("--out", options.outDir, "write one PNG per receipt into DIR");
    cli.add_option("--state", options.statePath, "keep the printer's settings in FILE (JSON)");
    cli.add_option("--log", options.logPath, "one JSON line per command into FILE (- : standard output)")
        ->capture_default_str();
    auto* paperOption =
        cli.add_option("--paper", paper, "paper width in mm (default: the profile's)")->check(CLI::IsMember({58, 80}));
    std::string profile(tallyx::vprinter::DefaultProfile().name);
    cli.add_option("--profile", profile, ProfileHelp())->check(CLI::IsMember(ProfileNames()))->capture_default_str();
    cli.add_option("--accept-delay", options.acceptDelayMs, "test fault: accept connections MS late")
        ->check(CLI::NonNegativeNumber);
    cli.add_option("--reply-bytes", options.replyBytes, "test fault: send only N bytes of a reply")
        ->check(CLI::NonNegativeNumber);
    cli.add_option("--reset-after", options.resetAfter, "test fault: reset the connection after N bytes")
        ->check(CLI::NonNegativeNumber);
    std::string forward, script;
    cli.add_option("--forward", forward,
                   "pass every byte on to a real printer, which answers instead: socket://HOST:PORT, "
                   "a usblp node (/dev/usb/lp0) or a serial port as DEVICE:BAUD (/dev/ttyUSB0:9600)");
    cli.add_option("--script", script,
                   "faults in time from FILE, one \"WHEN ACTION\" a line: WHEN receipt:N or time:S; ACTION a "
                   "--status condition, ready, silent, answer, close or rate:B (bytes a second)");
    cli.add_option("--status", status,
                   "start with these conditions, comma-separated: " + tallyx::vprinter::StatusWords());
    // Without a port: files drawn to pictures, and pictures compared.
    RenderCommand render(cli, "render", "draw each receipt of each FILE as OUT/STEM-N.png", profile);
    render.command->add_option("--out", render.options.outDir, "directory of the pictures")->capture_default_str();
    render.command->add_option("--log", render.options.logPath, "one JSON line per command into FILE (- : standard output)");
    render.AddFiles();
    RenderCommand check(cli, "check",
                        "draw each FILE afresh and compare the pictures with EXPECTED_DIR's both ways: exit 0 all as "
                        "expected, 1 a picture differs, is missing or is extra (or --strict found commands), 2 a "
                        "file could not be read or written",
                        profile);
    check.options.outDir.clear();
    check.command->add_option("--out", check.options.outDir,
                              "a new or empty directory for this run's pictures and diffs (default: a new one under "
                              "the temporary directory)");
    check.command->add_option("--log", check.options.logPath, "one JSON line per command into FILE, started afresh");
    std::string expectedDir;
    check.command->add_option("EXPECTED_DIR", expectedDir, "the pictures as they should be")->required();
    check.AddFiles();
    std::string expected, actual, diff;
    CLI::App* compareCommand =
        cli.add_subcommand("compare", "exit 0 when two receipt pictures are dot for dot the same, 1 when not, 2 on a bad file");
    compareCommand->add_option("EXPECTED", expected, "the picture as it should be")->required();
    compareCommand->add_option("ACTUAL", actual, "the picture as it is")->required();
    compareCommand->add_option("--diff", diff, "write a picture of the difference: removed ink red, added green");
    CLI11_PARSE(cli, argc, argv);
    // A file size limit (ulimit -f) fails the write, which is reported, instead of killing us.
    std::signal(SIGXFSZ, SIG_IGN);
    if (*compareCommand) {
        const auto app = StartGui(argv);
        return WithOutput(tallyx::vprinter::CompareFiles(expected, actual, diff, stdout, stderr),
                          tallyx::vprinter::kCompareBadFile);
    }
    if (*render.command || *check.command) {
        // Each receipt's paper and picture are a few hundred kB, which glibc mapped and gave
        // back one receipt at a time: the page faults were a quarter of drawing barcodes.
        // A batch run keeps up to this much freed memory for the next receipt instead.
        mallopt(M_MMAP_THRESHOLD, kBatchHeapKeptBytes / 2);
        mallopt(M_TRIM_THRESHOLD, kBatchHeapKeptBytes);
    }
    if (*render.command) {
        const auto app = StartGui(argv);
        return WithOutput(tallyx::vprinter::RenderFiles(render.files, render.Options(), stdout, stderr),
                          tallyx::vprinter::kRenderUnwritable);
    }
    if (*check.command) {
        const auto app = StartGui(argv);
        return WithOutput(tallyx::vprinter::CheckFiles(expectedDir, check.files, check.Options(), stdout, stderr),
                          tallyx::vprinter::kCheckTrouble);
    }
    if (!ParseHostPort(listen, options)) {
        std::fprintf(stderr, "--listen: expected HOST:PORT or none, got %s\n", listen.c_str());
        return 2;
    }
    if (!http.empty() && !(options.http = tallyx::vprinter::ParseHttpAddress(http, options.httpHost, options.httpPort))) {
        std::fprintf(stderr, "--http: expected [HOST:]PORT, got %s\n", http.c_str());
        return 2;
    }
    std::string badWord, error;
    const auto conditions = tallyx::vprinter::ParseStatusList(status, &badWord);
    if (!conditions) {
        std::fprintf(stderr, "--status: unknown condition \"%s\", expected %s\n", badWord.c_str(),
                     tallyx::vprinter::StatusWords().c_str());
        return 2;
    }
    options.status = *conditions;
    if (!forward.empty()) {
        options.forward = tallyx::vprinter::ParseForwardTarget(forward, &error);
        if (!options.forward) {
            std::fprintf(stderr, "--forward: %s\n", error.c_str());
            return 2;
        }
    }
    if (!script.empty()) {
        auto events = tallyx::vprinter::LoadScript(script, &error);
        if (!events) {
            std::fprintf(stderr, "--script: %s\n", error.c_str());
            return 2;
        }
        options.script = std::move(*events);
    }
    options.profile = tallyx::vprinter::FindProfile(profile);
    options.paperDots = options.profile->paperDots;
    if (paperOption->count() > 0) options.paperDots = PaperDots(paper);

    const auto app = StartGui(argv);

    // Before "ready": a supervisor may stop the printer the moment it is told it runs.
    sem_init(&g_quit, 0, 0);
    // Every ending that can be caught stops the links, so the pty's link goes with them.
    for (int sig : {SIGINT, SIGTERM, SIGHUP}) std::signal(sig, OnSignal);
    tallyx::vprinter::VirtualPrinter printer(options);
    if (!printer.Start(&error)) {
        std::fprintf(stderr, "tallyx-vprinter: %s\n", error.c_str());
        return 1;
    }
    std::fprintf(stderr, "tallyx-vprinter: ready");
    if (options.listen) std::fprintf(stderr, " on %s:%u", options.listenHost.c_str(), printer.TcpPort());
    if (!options.ptyPath.empty())
        std::fprintf(stderr, ", serial %s -> %s", printer.PtyPath().c_str(), printer.PtySlaveName().c_str());
    if (options.http) std::fprintf(stderr, ", page %s", printer.PageAddress().c_str());
    if (options.forward) std::fprintf(stderr, ", forwarding to %s", options.forward->text.c_str());
    std::fprintf(stderr, "\n");

    // Wake once a second to pass on problems with the state file or the pictures.
    for (;;) {
        timespec until{};
        clock_gettime(CLOCK_REALTIME, &until);
        until.tv_sec += 1;
        const bool quit = sem_timedwait(&g_quit, &until) == 0;
        if (quit) printer.Stop();
        const std::string warnings = printer.TakeWarnings();
        if (!warnings.empty()) std::fputs(warnings.c_str(), stderr);
        if (quit) return 0;
    }
}
