// tallyx-vprinter: a receipt printer on this machine that prints to PNG files.
#include <CLI/CLI.hpp>
#include <QGuiApplication>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <semaphore.h>

#include "res/Version.h"
#include "vprinter/DeviceStatus.h"
#include "vprinter/VirtualPrinter.h"

namespace {

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
    cli.add_option("--out", options.outDir, "write one PNG per receipt into DIR");
    cli.add_option("--state", options.statePath, "keep the printer's settings in FILE (JSON)");
    cli.add_option("--log", options.logPath, "one JSON line per command into FILE (- : standard output)")
        ->capture_default_str();
    cli.add_option("--paper", paper, "paper width in mm")->check(CLI::IsMember({58, 80}))->capture_default_str();
    cli.add_option("--accept-delay", options.acceptDelayMs, "test fault: accept connections MS late")
        ->check(CLI::NonNegativeNumber);
    cli.add_option("--reply-bytes", options.replyBytes, "test fault: send only N bytes of a reply")
        ->check(CLI::NonNegativeNumber);
    cli.add_option("--reset-after", options.resetAfter, "test fault: reset the connection after N bytes")
        ->check(CLI::NonNegativeNumber);
    cli.add_option("--status", status,
                   "start with these conditions, comma-separated: " + tallyx::vprinter::StatusWords());
    CLI11_PARSE(cli, argc, argv);
    if (!ParseHostPort(listen, options)) {
        std::fprintf(stderr, "--listen: expected HOST:PORT or none, got %s\n", listen.c_str());
        return 2;
    }
    std::string badWord;
    const auto conditions = tallyx::vprinter::ParseStatusList(status, &badWord);
    if (!conditions) {
        std::fprintf(stderr, "--status: unknown condition \"%s\", expected %s\n", badWord.c_str(),
                     tallyx::vprinter::StatusWords().c_str());
        return 2;
    }
    options.status = *conditions;
    options.paperDots = paper == 80 ? tallyx::vprinter::kPaper80Dots : tallyx::vprinter::kPaper58Dots;

    // Fonts need a GUI application object, but there is no screen to show anything on.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    int qtArgc = 1;
    QGuiApplication app(qtArgc, argv);

    tallyx::vprinter::VirtualPrinter printer(options);
    std::string error;
    if (!printer.Start(&error)) {
        std::fprintf(stderr, "tallyx-vprinter: %s\n", error.c_str());
        return 1;
    }
    std::fprintf(stderr, "tallyx-vprinter: ready");
    if (options.listen) std::fprintf(stderr, " on %s:%u", options.listenHost.c_str(), printer.TcpPort());
    if (!options.ptyPath.empty())
        std::fprintf(stderr, ", serial %s -> %s", printer.PtyPath().c_str(), printer.PtySlaveName().c_str());
    std::fprintf(stderr, "\n");

    sem_init(&g_quit, 0, 0);
    std::signal(SIGINT, OnSignal);
    std::signal(SIGTERM, OnSignal);
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
