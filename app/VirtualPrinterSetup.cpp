#include "app/VirtualPrinterSetup.h"

#include <QComboBox>
#include <QDir>
#include <QGuiApplication>
#include <QScreen>
#include <cstdio>
#include <unistd.h>

#include "app/AppOptions.h"
#include "app/CPosToolDlg.h"
#include "app/VirtualPrinterWindow.h"
#include "res/MainWindowIds.h"
#include "ui/IpAddressCtrl.h"
#include "vprinter/VirtualPrinter.h"

namespace tallyx {

namespace {
constexpr uint32_t kLoopback = 0x7F000001;
} // namespace

VirtualPrinterSetup::VirtualPrinterSetup() = default;

VirtualPrinterSetup::~VirtualPrinterSetup()
{
    m_window.reset();
    if (m_printer) m_printer->Stop();
}

bool VirtualPrinterSetup::Attach(CPosToolDlg& dialog, const AppOptions& app)
{
    vprinter::VirtualPrinterOptions options;
    options.http = !app.http.empty();
    options.httpHost = app.httpHost;
    options.httpPort = app.httpPort;
    options.ptyPath = QDir::temp().filePath(QString("tallyx-vprinter-%1").arg(::getpid())).toStdString();
    m_printer = std::make_unique<vprinter::VirtualPrinter>(options);
    std::string error;
    if (!m_printer->Start(&error)) {
        // Another printer (or tool) holds 9100 here: any free port serves the tool as well.
        options.listenPort = 0;
        m_printer = std::make_unique<vprinter::VirtualPrinter>(options);
        if (!m_printer->Start(&error)) {
            std::fprintf(stderr, "tallyx: the virtual printer did not start: %s\n", error.c_str());
            m_printer.reset();
            return false;
        }
    }
    if (options.http) std::fprintf(stderr, "tallyx: the virtual printer's page: %s\n", m_printer->PageAddress().c_str());
    dialog.SetTcpPort(m_printer->TcpPort());
    if (auto* address = qobject_cast<IpAddressCtrl*>(dialog.Control(id::main::kPrinterAddress)))
        address->SetAddress(kLoopback);
    if (auto* port = qobject_cast<QComboBox*>(dialog.Control(id::main::kPort)))
        port->addItem(QString::fromStdString(m_printer->PtyPath()));

    m_window = std::make_unique<VirtualPrinterWindow>(*m_printer);
    const QScreen* screen = dialog.screen() ? dialog.screen() : QGuiApplication::primaryScreen();
    // Side by side when the screen is wide enough for both, moving the main window if need be.
    QRect main = dialog.frameGeometry();
    main.moveTopLeft(MakeRoomBeside(main, screen->availableGeometry(), VirtualPrinterWindow::WantedFrame()));
    dialog.move(main.topLeft());
    m_window->PlaceNextTo(main, screen->availableGeometry());
    m_window->show();
    return true;
}

} // namespace tallyx
