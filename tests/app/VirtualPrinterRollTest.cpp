// The virtual printer's window: the whole roll, receipts newest last with their printed
// text for screen readers, its title, and where it opens on a 1280 x 800 screen.
#include <QAccessible>
#include <QApplication>
#include <QStatusBar>
#include <QElapsedTimer>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "app/CPosToolDlg.h"
#include "app/ReceiptView.h"
#include "app/VirtualPrinterWindow.h"
#include "tests/support/Hex.h"
#include "tests/support/PrinterWindowKit.h"
#include "tests/support/RecordingPlatform.h"
#include "vprinter/VirtualPrinter.h"
#include "vprinter/interpret/Interpreter.h"
#include "vprinter/paper/ReceiptText.h"
#include "vprinter/render/ReceiptRenderer.h"

namespace tallyx::test {
namespace {

using vprinter::VirtualPrinter;
using vprinter::VirtualPrinterOptions;

// Where the roll window (440 × 700) goes, or where the main window moves to, for a main
// window frame on a 1280 × 800 screen.
const QRect kScreen(0, 0, 1280, 800);
const QSize kRollSize(440, 700);

template <class Place>
struct Placement {
    const char* name;
    QRect main;
    Place expected;
};

template <class Place, class Placer>
void ExpectPlacements(std::initializer_list<Placement<Place>> rows, Placer place)
{
    for (const Placement<Place>& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(place(row.main), row.expected);
    }
}

QStringList ToQStrings(const std::vector<std::string>& lines)
{
    QStringList out;
    for (const std::string& l : lines) out << QString::fromStdString(l);
    return out;
}

// "ONE", cut; "TWO 二" and "2", cut; "THREE", cut: as the tool would send them.
const char* const kThreeReceipts =
    "4F 4E 45 0A 1D 56 00 "
    "1C 26 54 57 4F 20 B6 FE 0A 32 0A 1D 56 00 "
    "54 48 52 45 45 0A 1D 56 00";

TEST(VirtualPrinterRoll, ThreeReceiptsPrintedAreThreeOnTheRollWithTheirText)
{
    VirtualPrinter printer(Quiet());
    VirtualPrinterWindow window(printer);
    vprinter::PrinterState state;
    vprinter::Interpreter::Hooks hooks;
    hooks.receiptDone = [&](vprinter::Receipt&& r) {
        window.AddReceipt(vprinter::RenderReceipt(r), ToQStrings(vprinter::ReceiptTextLines(r)));
    };
    vprinter::Interpreter interpreter(state, vprinter::kPaper58Dots, hooks);
    const Bytes bytes = FromHex(kThreeReceipts);
    interpreter.Feed(bytes.data(), bytes.size(), "test");

    const QList<ReceiptView*> roll = window.Receipts();
    ASSERT_EQ(roll.size(), 3);
    const QString expected[] = {"ONE", QString::fromUtf8("TWO 二\n2"), "THREE"};
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(roll[i]->accessibleDescription(), expected[i]);
        EXPECT_EQ(roll[i]->accessibleName(), QString::fromUtf8("小票 %1").arg(i + 1));
        EXPECT_TRUE(roll[i]->IsCut());
        EXPECT_EQ(roll[i]->Image().width(), 384);
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(roll[i]);
        ASSERT_NE(a, nullptr);
        EXPECT_EQ(a->text(QAccessible::Description), expected[i]);
    }
    // Newest at the bottom.
    window.resize(440, 300);
    window.show();
    QApplication::processEvents();
    EXPECT_LT(roll[0]->y(), roll[1]->y());
    EXPECT_LT(roll[1]->y(), roll[2]->y());
}

TEST(VirtualPrinterRoll, ThePrinterFillsTheRollAndClearEmptiesIt)
{
    VirtualPrinter printer(Quiet());
    ASSERT_TRUE(printer.Start());
    VirtualPrinterWindow window(printer);
    window.show();
    const Bytes bytes = FromHex(kThreeReceipts);
    printer.Feed(bytes.data(), bytes.size(), "test");
    ASSERT_TRUE(ProcessUntil([&] { return window.Receipts().size() == 3; }));
    EXPECT_EQ(window.Receipts()[0]->Image().height(), 30);
    EXPECT_EQ(window.Receipts()[1]->Image().height(), 60);
    for (ReceiptView* view : window.Receipts()) EXPECT_TRUE(view->IsCut());
    // Each carries the text it printed, for a screen reader.
    EXPECT_EQ(window.Receipts()[0]->accessibleDescription(), "ONE");
    EXPECT_EQ(window.Receipts()[1]->accessibleDescription(), QString::fromUtf8("TWO 二\n2"));
    EXPECT_EQ(window.Receipts()[2]->accessibleDescription(), "THREE");

    // What the voice chip says stands under the roll.
    const Bytes amount = FromHex("1F 13 05 31 32 2E 35 30");
    printer.Feed(amount.data(), amount.size(), "test");
    ASSERT_TRUE(ProcessUntil([&] { return !window.statusBar()->currentMessage().isEmpty(); }));
    EXPECT_EQ(window.statusBar()->currentMessage(), "amount 12.50");

    const Bytes growing = FromHex("41 0A");
    printer.Feed(growing.data(), growing.size(), "test");
    ASSERT_TRUE(ProcessUntil([&] { return window.Receipts().size() == 4; }));
    EXPECT_FALSE(window.Receipts().back()->IsCut()) << "still coming out: no tear line yet";

    window.ClearRoll();
    ASSERT_EQ(window.Receipts().size(), 1) << "the receipt being printed stays";
    EXPECT_FALSE(window.Receipts()[0]->IsCut());
}

TEST(VirtualPrinterRoll, APartialCutLeavesTheTearJoinedInTheMiddle)
{
    VirtualPrinter printer(Quiet());
    ASSERT_TRUE(printer.Start());
    VirtualPrinterWindow window(printer);
    window.show();
    const Bytes bytes = FromHex("41 0A 1D 56 00 42 0A 1D 56 01");   // GS V 0 full, GS V 1 partial
    printer.Feed(bytes.data(), bytes.size(), "test");
    ASSERT_TRUE(ProcessUntil([&] { return window.Receipts().size() == 2; }));
    const QList<ReceiptView*> roll = window.Receipts();
    EXPECT_FALSE(roll[0]->IsPartialCut());
    EXPECT_TRUE(roll[1]->IsPartialCut());
    // Below the teeth of the tear, in the middle: paper only where the cut left it joined.
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(i);
        const QImage shown = roll[i]->grab().toImage();
        const QPoint below(shown.width() / 2, roll[i]->Image().height() + 8);
        EXPECT_EQ(shown.pixelColor(below) == Qt::white, i == 1);
    }
}

TEST(VirtualPrinterRoll, PaperIsOneToOneWhenItFitsAndNarrowerWhenNot)
{
    VirtualPrinter printer(Quiet());
    VirtualPrinterWindow window(printer);
    QImage paper(384, 100, QImage::Format_Mono);
    paper.fill(1);
    window.AddReceipt(paper, {});
    window.resize(600, 400);
    window.show();
    QApplication::processEvents();
    ReceiptView* view = window.Receipts()[0];
    EXPECT_EQ(view->width(), 384);
    window.resize(300, 400);
    QApplication::processEvents();
    EXPECT_LT(view->width(), 300);
    EXPECT_GT(view->width(), 200);
    EXPECT_EQ(view->height() - 12, 100 * view->width() / 384) << "the height follows the width";
}

TEST(VirtualPrinterRoll, FollowsTheNewestUnlessScrolledUp)
{
    VirtualPrinter printer(Quiet());
    VirtualPrinterWindow window(printer);
    window.resize(440, 300);
    window.show();
    QImage paper(384, 400, QImage::Format_Mono);
    paper.fill(1);
    window.AddReceipt(paper, {});
    QApplication::processEvents();
    QScrollBar* bar = window.findChild<QScrollArea*>()->verticalScrollBar();
    window.AddReceipt(paper, {});
    QApplication::processEvents();
    EXPECT_GT(bar->maximum(), 0);
    EXPECT_EQ(bar->value(), bar->maximum());
    bar->setValue(0);
    EXPECT_FALSE(window.FollowsNewest());
    window.AddReceipt(paper, {});
    QApplication::processEvents();
    EXPECT_EQ(bar->value(), 0) << "the operator is reading further up";
}

TEST(VirtualPrinterRoll, EachReceiptSavesAsPng)
{
    VirtualPrinter printer(Quiet());
    VirtualPrinterWindow window(printer);
    QImage paper(384, 40, QImage::Format_Mono);
    paper.fill(1);
    paper.setPixel(5, 7, 0);
    window.AddReceipt(paper, {"A"});
    QTemporaryDir dir;
    const QString path = dir.filePath("r.png");
    ASSERT_TRUE(VirtualPrinterWindow::SaveReceipt(*window.Receipts()[0], path));
    QImage saved(path);
    EXPECT_EQ(saved.size(), QSize(384, 40));
    EXPECT_EQ(saved.pixelColor(5, 7), paper.pixelColor(5, 7));
    EXPECT_FALSE(VirtualPrinterWindow::SaveReceipt(*window.Receipts()[0], dir.filePath("no/such/dir/r.png")));
}

TEST(VirtualPrinterRoll, TitleSaysWhereThePrinterListens)
{
    EXPECT_EQ(RollTitle("127.0.0.1", 9100, "/tmp/tallyx-vprinter-42"),
              QString::fromUtf8("虚拟打印机 — 127.0.0.1:9100 · /tmp/tallyx-vprinter-42"));
    EXPECT_EQ(RollTitle("127.0.0.1", 40000, ""), QString::fromUtf8("虚拟打印机 — 127.0.0.1:40000"));
    EXPECT_EQ(RollTitle("127.0.0.1", 0, "/tmp/p"), QString::fromUtf8("虚拟打印机 — /tmp/p"));
    EXPECT_EQ(RollTitle("127.0.0.1", 0, ""), QString::fromUtf8("虚拟打印机"));

    VirtualPrinterOptions o;
    o.listenPort = 0;
    QTemporaryDir dir;
    o.ptyPath = dir.filePath("pty").toStdString();
    VirtualPrinter printer(o);
    ASSERT_TRUE(printer.Start());
    VirtualPrinterWindow window(printer);
    EXPECT_EQ(window.windowTitle(), QString::fromUtf8("虚拟打印机 — 127.0.0.1:%1 · %2")
                                        .arg(printer.TcpPort())
                                        .arg(QString::fromStdString(printer.PtyPath())));
    EXPECT_TRUE(window.isWindow());
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(&window);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->role(), QAccessible::Window);
}

TEST(VirtualPrinterRoll, PlacedBesideOrOverTheMainWindowAndWhollyOnScreen)
{
    ExpectPlacements<QRect>(
        {
            {"room on the right", QRect(0, 0, 700, 560), QRect(708, 0, 440, 700)},
            {"room only on the left", QRect(560, 100, 700, 560), QRect(112, 100, 440, 700)},
            {"no room: over its right side", QRect(290, 120, 700, 560), QRect(550, 100, 440, 700)},
            {"low on the screen: moved up", QRect(0, 300, 700, 480), QRect(708, 100, 440, 700)},
        },
        [](const QRect& main) {
            const QRect placed = PlaceBeside(main, kScreen, kRollSize);
            EXPECT_TRUE(kScreen.contains(placed));
            return placed;
        });
    const QRect small(0, 0, 1024, 600);
    EXPECT_EQ(PlaceBeside(QRect(100, 0, 700, 560), small, kRollSize), QRect(360, 0, 440, 600));
}

TEST(VirtualPrinterRoll, BesideTheMainWindowAtItsDefaultPlace)
{
    RecordingPlatform platform;
    CPosToolDlg dialog(&platform);
    const QRect& screen = kScreen;
    // A window manager centres a new dialog; its frame adds a border and a title bar.
    QRect main(QPoint(0, 0), dialog.sizeHint().expandedTo(dialog.size()) + QSize(8, 34));
    main.moveCenter(screen.center());
    VirtualPrinter printer(Quiet());
    VirtualPrinterWindow window(printer);
    ASSERT_LE(main.width() + 8 + 440, 1280) << "the two fit side by side at 1280";
    main.moveTopLeft(MakeRoomBeside(main, screen, VirtualPrinterWindow::WantedFrame()));
    window.PlaceNextTo(main, screen);
    const QRect frame(window.pos(), window.size() + QSize(8, 34));
    EXPECT_TRUE(screen.contains(frame)) << frame.x() << "," << frame.y() << " " << frame.width() << "x"
                                        << frame.height();
    EXPECT_TRUE(screen.contains(main));
    EXPECT_FALSE(frame.intersects(main)) << "beside, not over";
    EXPECT_GE(window.width(), 384) << "the 58 mm paper fits at 1:1";
}

TEST(VirtualPrinterRoll, TheMainWindowMovesOnlyToMakeRoom)
{
    ExpectPlacements<QPoint>(
        {
            {"centred: moved so the pair is centred", QRect(227, 76, 825, 648), QPoint(3, 76)},
            {"room on the right already", QRect(0, 76, 825, 648), QPoint(0, 76)},
            {"room on the left already", QRect(455, 76, 825, 648), QPoint(455, 76)},
            {"too wide for both: left where it is", QRect(100, 0, 1000, 648), QPoint(100, 0)},
        },
        [](const QRect& main) { return MakeRoomBeside(main, kScreen, kRollSize); });
}

} // namespace
} // namespace tallyx::test
