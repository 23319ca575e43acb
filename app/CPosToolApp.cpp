#include "app/CPosToolApp.h"

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
