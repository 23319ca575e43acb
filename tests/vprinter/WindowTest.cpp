// The tool's window onto the virtual printer: its title, and the paper as it grows.
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QScrollArea>

#include "app/ReceiptView.h"
#include "app/VirtualPrinterWindow.h"
#include "tests/support/Hex.h"
#include "tests/support/PrinterWindowKit.h"
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

} // namespace
} // namespace tallyx::test
