#include "app/CPosToolApp.h"

#include <QSocketNotifier>
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>

#include "app/AppIcon.h"
#include "app/AppOptions.h"
#include "app/SendLogStore.h"
#include "app/CPosToolDlg.h"
#include "app/VirtualPrinterSetup.h"
#include "res/Messages.h"
#include "ui/MessageBoxes.h"
#include "ui/QtText.h"

namespace tallyx {

namespace {

int g_endPipe[2] = {-1, -1};

void OnEndSignal(int)
{
    (void)!::write(g_endPipe[1], "x", 1);   // async-signal-safe
}

} // namespace

CPosToolApp::CPosToolApp(int& argc, char** argv) : QApplication(argc, argv)
{
    // Application message boxes take the program's name as their caption.
    setApplicationName(ToQString(kCaptionApp));
    setWindowIcon(AppIcon());
}

bool CPosToolApp::InitSocketSupport()
{
    // A printer that drops its connection must not end the program in the middle of a send.
    return std::signal(SIGPIPE, SIG_IGN) != SIG_ERR;
}

// SIGTERM, SIGHUP and SIGINT end the program as its window's close does, so what it made
// (the virtual printer's pty link) is taken away by the destructors.
void CPosToolApp::EndOnSignals()
{
    if (g_endPipe[0] < 0 && ::pipe2(g_endPipe, O_CLOEXEC | O_NONBLOCK) != 0) return;
    auto* notifier = new QSocketNotifier(g_endPipe[0], QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this, [] {
        char drained[16];
        while (::read(g_endPipe[0], drained, sizeof drained) > 0) {
        }
        QCoreApplication::exit(0);   // ends the main window's loop as well
    });
    for (int sig : {SIGTERM, SIGHUP, SIGINT}) std::signal(sig, OnEndSignal);
}

bool CPosToolApp::InitInstance(const AppOptions& options)
{
    if (!options.logPath.empty() && !TheSendLog().OpenFile(options.logPath)) {
        std::fprintf(stderr, "tallyx: cannot open %s: %s\n", options.logPath.c_str(), std::strerror(errno));
        return false;
    }
    if (!InitSocketSupport()) {
        Boxes().Show({kCaptionApp, kMsgSocketInitFailed}, nullptr);
        return false;
    }
    EndOnSignals();
    CPosToolDlg dialog;
    TheSendLog().Attach(dialog.GetLink());
    VirtualPrinterSetup virtualPrinter;
    if (options.virtualPrinter) {
        // Placed first so the printer window can stand beside it.
        dialog.show();
        virtualPrinter.Attach(dialog, options);
    }
    dialog.exec();
    return true;
}

} // namespace tallyx
