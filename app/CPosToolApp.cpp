#include "app/CPosToolApp.h"

#include <csignal>

#include "app/AppIcon.h"
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

bool CPosToolApp::InitInstance()
{
    if (!InitSocketSupport()) {
        Boxes().Show({kCaptionApp, kMsgSocketInitFailed}, nullptr);
        return false;
    }
    CPosToolDlg dialog;
    VirtualPrinterSetup virtualPrinter;
    if (arguments().contains(QStringLiteral("--virtual-printer"))) {
        // Placed first so the printer window can stand beside it.
        dialog.show();
        virtualPrinter.Attach(dialog);
    }
    dialog.exec();
    return true;
}

} // namespace tallyx
