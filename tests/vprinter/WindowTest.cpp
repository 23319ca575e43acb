// The tool's window onto the virtual printer: its title, and the paper as it grows.
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <filesystem>
#include <QMenu>
#include <QScrollArea>

#include "app/ReceiptView.h"
#include "app/VirtualPrinterWindow.h"
#include "tests/support/Hex.h"
#include "tests/support/PrinterWindowKit.h"
#include "tests/support/TestDir.h"
#include "vprinter/VirtualPrinter.h"

namespace tallyx::test {
namespace {

using vprinter::VirtualPrinter;
using vprinter::VirtualPrinterOptions;



TEST(VirtualPrinterWindow, TitleAndEmptyPaperAtFirst)
{
    VirtualPrinter printer(Quiet());
    VirtualPrinterWindow window(printer);
    EXPECT_EQ(window.windowTitle(), QString::fromUtf8("虚拟打印机"));
    EXPECT_TRUE(window.ShownImage().isNull());
    EXPECT_NE(window.findChild<QScrollArea*>(), nullptr);
}

TEST(VirtualPrinterWindow, TheEmptyRollSaysHowToReachThePrinterUntilTheFirstReceipt)
{
    const auto dir = FreshTestDir("tallyx-vp-hint-");
    VirtualPrinterOptions o;
    o.listenPort = 0;
    o.ptyPath = (dir / "ttyVP").string();
    o.http = true;
    VirtualPrinter printer(o);
    ASSERT_TRUE(printer.Start());
    VirtualPrinterWindow window(printer);
    window.show();
    const QString expected = QString::fromUtf8("还没有小票。在主窗口选端口 “Ethernet”(打印机 127.0.0.1:%1) 或 “%2”，再按“连 接”。\n"
                                               "网页: %3")
                                 .arg(printer.TcpPort())
                                 .arg(QString::fromStdString(o.ptyPath))
                                 .arg(QString::fromStdString(printer.PageAddress()));
    ASSERT_TRUE(printer.PageAddress().starts_with("http://127.0.0.1:"));
    EXPECT_EQ(window.Hint()->text(), expected);
    EXPECT_EQ(window.Hint()->accessibleName(), expected);
    EXPECT_TRUE(window.Hint()->isVisible());

    const Bytes line = FromHex("41 0A");
    printer.Feed(line.data(), line.size(), "test");
    EXPECT_TRUE(ProcessUntil([&] { return !window.Hint()->isVisible(); })) << "the first receipt takes its place";
    printer.Stop();
    std::filesystem::remove_all(dir);
}

TEST(VirtualPrinterWindow, ShowsEachPrintedLineAndKeepsTheCutReceipt)
{
    VirtualPrinter printer(Quiet());
    ASSERT_TRUE(printer.Start());
    VirtualPrinterWindow window(printer);
    window.show();

    const Bytes line = FromHex("41 42 43 0A");
    printer.Feed(line.data(), line.size(), "test");
    ASSERT_TRUE(ProcessUntil([&] { return window.ShownImage().height() == 30; }));
    printer.Feed(line.data(), line.size(), "test");
    ASSERT_TRUE(ProcessUntil([&] { return window.ShownImage().height() == 60; }));
    ASSERT_EQ(window.Receipts().size(), 1);
    EXPECT_EQ(window.Receipts()[0]->Image().size(), QSize(384, 60));

    const Bytes cut = FromHex("1D 56 00");
    printer.Feed(cut.data(), cut.size(), "test");
    QApplication::processEvents();
    EXPECT_EQ(printer.ReceiptsFinished(), 1);
    EXPECT_EQ(printer.CurrentReceipt().height(), 60) << "the last receipt stays in view";
}

TEST(VirtualPrinterWindow, ClosingTheWindowFirstLeavesThePrinterRunning)
{
    VirtualPrinter printer(Quiet());
    ASSERT_TRUE(printer.Start());
    {
        VirtualPrinterWindow window(printer);
    }
    const Bytes line = FromHex("41 0A");
    printer.Feed(line.data(), line.size(), "test");   // no window to call back into
    EXPECT_EQ(printer.CurrentReceipt().height(), 30);
}

TEST(VirtualPrinterWindow, TheStatusMenuShowsAndSetsThePrintersConditions)
{
    VirtualPrinterOptions o = Quiet();
    o.status.paperNearEnd = true;
    VirtualPrinter printer(o);
    VirtualPrinterWindow window(printer);
    QMenu* menu = window.StatusMenu();
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->accessibleName(), QString::fromUtf8("打印机状态"));
    QStringList labels, checked;
    for (QAction* action : menu->actions()) {
        labels << action->text();
        if (action->isChecked()) checked << action->text();
    }
    EXPECT_EQ(labels.join('|'), QString::fromUtf8("纸将尽|缺纸|上盖打开|钱箱打开|离线|切刀错误"));
    EXPECT_EQ(checked, QStringList{QString::fromUtf8("纸将尽")});

    menu->actions()[1]->trigger();   // paper out
    menu->actions()[0]->trigger();   // near end off again
    EXPECT_TRUE(printer.Status().paperOut);
    EXPECT_FALSE(printer.Status().paperNearEnd);
    const Bytes line = FromHex("41 0A");
    printer.Feed(line.data(), line.size(), "test");
    EXPECT_TRUE(printer.CurrentReceipt().isNull()) << "nothing printed without paper";
    menu->actions()[1]->trigger();
    EXPECT_EQ(printer.Status(), vprinter::DeviceStatus{});
}

} // namespace
} // namespace tallyx::test
