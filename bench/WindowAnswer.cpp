// How the main window answers while the sender works: the longest gap between 10 ms ticks
// of its event loop during a network command's retry against a printer that went away,
// and ten command buttons pressed 0.15 s apart (time in the presses, what the printer got).
#include <QAbstractButton>
#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "app/CPosToolDlg.h"
#include "commands/MainCommands.h"
#include "link/PosixPlatform.h"
#include "res/MainWindowIds.h"
#include "res/RuntimeDir.h"
#include "tests/support/Hex.h"
#include "tests/support/LoopbackServer.h"
#include "tests/support/RecordingBoxes.h"
#include "ui/IpAddressCtrl.h"

using namespace tallyx;
using namespace tallyx::test;

namespace {

void PressAccessibly(QWidget* button)
{
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(button);
    a->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
}

void RunFor(int ms)
{
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms) QApplication::processEvents(QEventLoop::AllEvents, 5);
}

void ConnectEthernet(CPosToolDlg& dlg, uint16_t port)
{
    dlg.SetTcpPort(port);
    auto* combo = qobject_cast<QComboBox*>(dlg.Control(id::main::kPort));
    combo->setCurrentIndex(combo->findText("Ethernet"));
    emit combo->activated(combo->currentIndex());
    qobject_cast<IpAddressCtrl*>(dlg.Control(id::main::kPrinterAddress))->SetAddress(0x7F000001);
    PressAccessibly(dlg.Control(id::main::kConnect));
    QElapsedTimer t;
    t.start();
    // Connected once the window says so: its buttons come on when the sender reports.
    while (!dlg.Control(id::main::kInit)->isEnabled() && t.elapsed() < 5000)
        QApplication::processEvents(QEventLoop::AllEvents, 5);
}

} // namespace

int main(int argc, char** argv)
{
    EnsureRuntimeDir();
    QApplication app(argc, argv);
    RecordingBoxes boxes;
    InstallBoxes(&boxes);
    PosixPlatform platform;

    {   // A retry: the printer answered the connect, then went away.
        CPosToolDlg dlg(&platform);
        dlg.show();
        {
            LoopbackServer printer(LoopbackServer::Options{0, std::string(22, '\0')});
            ConnectEthernet(dlg, printer.Port());
        }
        QElapsedTimer sinceTick;
        int64_t worstGap = 0;
        QTimer tick;
        QObject::connect(&tick, &QTimer::timeout, [&] {
            worstGap = std::max<int64_t>(worstGap, sinceTick.restart());
        });
        QElapsedTimer whole;
        whole.start();
        sinceTick.start();
        tick.start(10);
        PressAccessibly(dlg.Control(id::main::kInit));
        while (boxes.shown.empty() && whole.elapsed() < 10'000) QApplication::processEvents(QEventLoop::AllEvents, 5);
        tick.stop();
        // "retry UNTIL_BOX_MS WORST_GAP_MS BOX_TEXT"
        std::printf("retry %lld %lld %s\n", static_cast<long long>(whole.elapsed()),
                    static_cast<long long>(worstGap), boxes.shown.empty() ? "(none)" : boxes.shown[0].text.c_str());
    }

    {   // Ten presses 0.15 s apart.
        boxes.shown.clear();
        LoopbackServer printer(LoopbackServer::Options{0, std::string(22, '\0')});
        CPosToolDlg dlg(&platform);
        dlg.show();
        ConnectEthernet(dlg, printer.Port());
        const size_t connectConnections = printer.WaitForConnections(1).size();
        if (std::getenv("TALLYX_BENCH_DEBUG")) std::fprintf(stderr, "connected %d\n", int(dlg.GetLink().IsConnected()));
        std::vector<std::string> expected;
        int64_t inPresses = 0;
        QElapsedTimer whole;
        whole.start();
        int pressed = 0;
        for (const MainCommandDef& def : MainCommandTable()) {
            if (pressed == 10) break;
            if (def.comboId || def.buttonId == id::main::kSelfTest) continue;
            QElapsedTimer one;
            one.start();
            PressAccessibly(dlg.Control(def.buttonId));
            inPresses += one.elapsed();
            expected.push_back(Hex(BuildMainCommand(def, {})));
            ++pressed;
            RunFor(150);
        }
        const int64_t pressing = whole.elapsed();
        dlg.GetSender().WaitIdle(30'000);
        const std::vector<std::string> got = printer.WaitForConnections(connectConnections + 10, 30'000);
        if (std::getenv("TALLYX_BENCH_DEBUG")) {
            for (const std::string& g : got) std::fprintf(stderr, "got %s\n", Hex(Bytes(g.begin(), g.end())).c_str());
            for (const std::string& e : expected) std::fprintf(stderr, "want %s\n", e.c_str());
        }
        size_t inOrder = 0;
        for (size_t i = 0; i + connectConnections < got.size() && i < expected.size(); ++i) {
            const std::string& bytes = got[i + connectConnections];
            inOrder += Hex(Bytes(bytes.begin(), bytes.end())) == expected[i];
        }
        // "presses PRESSING_MS INSIDE_PRESSES_MS COMMANDS_GOT IN_ORDER BOXES"
        std::printf("presses %lld %lld %zu %zu %zu\n", static_cast<long long>(pressing),
                    static_cast<long long>(inPresses), got.size() - connectConnections, inOrder, boxes.shown.size());
    }
    InstallBoxes(nullptr);
    return 0;
}
