// Makes the README's pictures: the main window connected to its virtual printer over the
// network, a receipt sent through the link (hex lines on standard input, one command a
// line), and the virtual printer's window. Run by tools/screenshots.sh under Xvfb.
#include <QApplication>
#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QElapsedTimer>
#include <QPushButton>
#include <QScreen>
#include <algorithm>
#include <iostream>
#include <string>
#include <vector>

#include "app/CPosToolDlg.h"
#include "app/ReceiptView.h"
#include "app/SendLogStore.h"
#include "app/SendLogWindow.h"
#include "app/StatusWindow.h"
#include "app/VirtualPrinterSetup.h"
#include "app/VirtualPrinterWindow.h"
#include "commands/Hex.h"
#include "res/MainWindowIds.h"

using namespace tallyx;

namespace {

template <typename Pred>
bool ProcessUntil(Pred done, int ms)
{
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < ms) QApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
}

bool Save(const QImage& image, const QString& path)
{
    const bool ok = image.save(path, "PNG");
    std::cerr << (ok ? "wrote " : "cannot write ") << path.toStdString() << '\n';
    return ok;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc != 2) {
        std::cerr << "usage: tallyx_screenshots OUTDIR < commands.hex\n";
        return 64;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    CPosToolDlg dialog;
    TheSendLog().Attach(dialog.GetLink());
    dialog.show();
    // Where a window manager would put it: centred.
    QRect centred = dialog.frameGeometry();
    centred.moveCenter(QGuiApplication::primaryScreen()->availableGeometry().center());
    dialog.move(centred.topLeft());
    VirtualPrinterSetup printer;
    if (!printer.Attach(dialog)) return 1;
    auto* port = qobject_cast<QComboBox*>(dialog.Control(id::main::kPort));
    port->setCurrentText(QStringLiteral("Ethernet"));
    qobject_cast<QPushButton*>(dialog.Control(id::main::kConnect))->click();
    if (!dialog.GetLink().IsConnected()) {
        std::cerr << "the main window did not connect to its virtual printer\n";
        return 1;
    }
    std::string line;
    while (std::getline(std::cin, line)) {
        HexParseStatus status{};
        const Bytes bytes = HexTextToBytes(line, status);
        if (status != HexParseStatus::Converted || bytes.empty()) continue;
        dialog.GetLink().SendToPrinter(bytes, Delivery::Direct);
    }
    VirtualPrinterWindow* window = printer.Window();
    const auto cut = [window] {
        const auto roll = window->Receipts();
        return !roll.isEmpty() && roll.front()->IsCut();
    };
    if (!ProcessUntil(cut, 15000)) {
        std::cerr << "no receipt came out\n";
        return 1;
    }
    ProcessUntil([] { return false; }, 500);   // let both windows paint
    bool ok = Save(dialog.grab().toImage(), out + "/main-window.png");
    ok = Save(window->grab().toImage(), out + "/virtual-printer.png") && ok;
    ok = Save(window->Receipts().front()->Image(), out + "/receipt.png") && ok;
    ok = Save(QGuiApplication::primaryScreen()->grabWindow(0).toImage(), out + "/desktop.png") && ok;
    SendLogWindow* log = ShowSendLogWindow(&dialog);
    log->move(40, 420);
    ProcessUntil([] { return false; }, 300);
    ok = Save(log->grab().toImage(), out + "/send-log.png") && ok;
    log->close();

    // The status window against the printer in each state, set as the operator sets it: the
    // check boxes of the virtual printer's status menu, by their place in the menu.
    const std::pair<const char*, std::vector<int>> states[] = {
        {"ready", {}}, {"paper-near-end", {0}}, {"paper-out", {1}}, {"cover-open", {2}}, {"cutter-error", {5}}};
    StatusWindow* status = ShowStatusWindow(&dialog, dialog.GetLink(), dialog.GetCutterRun());
    status->move(40, 40);
    const QList<QAction*> conditions = window->StatusMenu()->actions();
    for (const auto& [name, ticked] : states) {
        for (int i = 0; i < conditions.size(); ++i) conditions[i]->setChecked(std::count(ticked.begin(), ticked.end(), i) > 0);
        const QString before = status->Line()->text();
        status->Refresh();
        ProcessUntil([&] { return status->Line()->text() != before; }, 3000);
        ProcessUntil([] { return false; }, 200);
        ok = Save(status->grab().toImage(), out + "/status-" + name + ".png") && ok;
    }
    return ok ? 0 : 1;
}
