// Window-level behaviour: Return, Esc, the close box, the port selection, the About item.
#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>

#include "app/CAboutDlg.h"
#include "res/MainWindowIds.h"
#include "tests/app/AppFixture.h"
#include "ui/IpAddressCtrl.h"

namespace tallyx::test {
namespace {

using WindowBehaviour = AppTest;

TEST_F(WindowBehaviour, ReturnLeavesTheWindowOpen)
{
    ShowActive();
    for (QWidget* target : {static_cast<QWidget*>(SendCount()), Ctl(id::main::kPort), static_cast<QWidget*>(dlg.get()),
                            static_cast<QWidget*>(AddressAt(id::main::kNetIp)->Field(0))}) {
        for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter}) {
            QTest::keyClick(target, key);
            EXPECT_TRUE(dlg->isVisible());
        }
    }
    dlg->accept();   // the OK command
    EXPECT_TRUE(dlg->isVisible());
    EXPECT_TRUE(Shown().empty());
}

TEST_F(WindowBehaviour, ReturnInThePrintBoxMakesANewLine)
{
    ShowActive();
    PrintBox()->clear();
    PrintBox()->setFocus();
    QTest::keyClicks(PrintBox(), "AB");
    QTest::keyClick(PrintBox(), Qt::Key_Return);
    QTest::keyClicks(PrintBox(), "C");
    EXPECT_EQ(PrintBox()->toPlainText(), "AB\nC");
    EXPECT_TRUE(dlg->isVisible());
}

TEST_F(WindowBehaviour, ReturnOnAFocusedButtonPressesIt)
{
    ShowActive();
    Ctl(id::main::kClear)->setFocus();
    QTest::keyClick(Ctl(id::main::kClear), Qt::Key_Return);
    EXPECT_TRUE(PrintBox()->toPlainText().isEmpty());
    EXPECT_TRUE(dlg->isVisible());
}

TEST_F(WindowBehaviour, EscapeCloses)
{
    ShowActive();
    QTest::keyClick(dlg.get(), Qt::Key_Escape);
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_EQ(dlg->result(), QDialog::Rejected);
}

TEST_F(WindowBehaviour, TheCloseBoxCloses)
{
    ShowActive();
    EXPECT_TRUE(dlg->close());
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_EQ(dlg->result(), QDialog::Rejected);
}

TEST_F(WindowBehaviour, PortSelectionSwitchesBaudAndAddress)
{
    const struct {
        const char* port;
        bool baud, address;
    } rows[] = {
        {"Ethernet", false, true}, {"COM2", true, false}, {"USB", false, false},
        {"COM1", true, false},     {"COM4", true, false}, {"Ethernet", false, true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.port);
        SelectItem(id::main::kPort, row.port);
        EXPECT_EQ(ComboAt(id::main::kBaud)->isEnabled(), row.baud);
        EXPECT_EQ(AddressAt(id::main::kPrinterAddress)->isEnabled(), row.address);
    }
}

TEST_F(WindowBehaviour, TypingAPortIsNotAChoice)
{
    ShowActive();
    QLineEdit* edit = ComboAt(id::main::kPort)->lineEdit();
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, "Ethernet");
    QTest::keyClick(edit, Qt::Key_Tab);
    EXPECT_EQ(ComboAt(id::main::kPort)->currentText(), "Ethernet");
    EXPECT_EQ(dlg->ChosenTarget().kind, LinkKind::Network);
    EXPECT_FALSE(AddressAt(id::main::kPrinterAddress)->isEnabled());
    EXPECT_FALSE(ComboAt(id::main::kBaud)->isEnabled());
    // The typed text is kept as typed: no completion, no case folding.
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, "usb");
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(dlg->ChosenTarget().kind, LinkKind::Serial);
    EXPECT_EQ(dlg->ChosenTarget().path, "usb");
}


TEST_F(WindowBehaviour, WindowMenuEndsWithTheAboutItem)
{
    QMenu* menu = dlg->CreateSystemMenu(dlg.get());
    const QList<QAction*> actions = menu->actions();
    ASSERT_EQ(actions.size(), 4);
    EXPECT_EQ(actions[0]->text(), "发送记录(&L)...");
    EXPECT_EQ(actions[1]->text(), "打印机状态(&S)...");
    EXPECT_TRUE(actions[2]->isSeparator());
    EXPECT_EQ(actions[3]->text(), "关于 Kestrano(&A)...");
    ShowActive();
    WithModal([&] { actions[3]->trigger(); },
              [](QWidget* about) { EXPECT_EQ(about->windowTitle(), "关于 Vantrel"); });
    EXPECT_TRUE(dlg->isVisible());
}

TEST_F(WindowBehaviour, RightClickOpensTheWindowMenu)
{
    ShowActive();
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5), dlg->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(dlg.get(), &event);
    QMenu* shown = nullptr;
    for (QMenu* menu : dlg->findChildren<QMenu*>())
        if (menu->isVisible()) shown = menu;
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(shown->actions().back()->text(), "关于 Kestrano(&A)...");
    shown->close();
}

TEST(AboutBox, ShowsNameVersionIconAndOk)
{
    CAboutDlg about;
    EXPECT_EQ(about.windowTitle(), "关于 Vantrel");
    QStringList texts;
    bool hasIcon = false;
    for (QLabel* label : about.findChildren<QLabel*>()) {
        if (!label->text().isEmpty()) texts << label->text();
        if (!label->pixmap().isNull()) hasIcon = true;
    }
    EXPECT_EQ(texts, QStringList({"Vantrel 3.0 版", "Tallyx 打印机设置与测试工具"}));
    EXPECT_TRUE(hasIcon);
    auto* ok = about.findChild<QPushButton*>("1");
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(ok->text(), "确定");
    EXPECT_TRUE(ok->isDefault());
    about.show();
    ok->click();
    EXPECT_FALSE(about.isVisible());
    EXPECT_EQ(about.result(), QDialog::Accepted);
}

TEST(AboutBox, ReturnPressesOk)
{
    CAboutDlg about;
    about.show();
    about.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&about));
    QTest::keyClick(&about, Qt::Key_Return);
    EXPECT_EQ(about.result(), QDialog::Accepted);
}

} // namespace
} // namespace tallyx::test

namespace tallyx::test {
namespace {

TEST_F(WindowBehaviour, NvLogoButtonOpensItsDialogOwnedByTheMainWindow)
{
    ConnectOn("COM1");
    ShowActive();
    const QString caption = static_cast<QPushButton*>(Ctl(id::main::kConnect))->text();
    WithModal([&] { Press(id::main::kNvLogo); },
              [&](QWidget* logo) {
                  EXPECT_EQ(logo->windowTitle(), "NV LOGO");
                  EXPECT_EQ(logo->parentWidget(), dlg.get());
              });
    EXPECT_TRUE(dlg->isVisible());
    EXPECT_EQ(static_cast<QPushButton*>(Ctl(id::main::kConnect))->text(), caption);
    EXPECT_TRUE(Ctl(id::main::kNvLogo)->isEnabled());
}

TEST_F(WindowBehaviour, SymbolButtonsOpenTheirDialogsOwnedByTheMainWindow)
{
    ConnectOn("COM1");
    ShowActive();
    const std::pair<int, QString> rows[] = {{1069, "BarCode"}, {1070, "QR_Dialog"}, {1073, "PDF417_Dialog"}};
    for (const auto& [button, title] : rows) {
        SCOPED_TRACE(button);
        WithModal([&, button = button] { Press(button); },
                  [&, title = title](QWidget* symbol) {
                      EXPECT_EQ(symbol->windowTitle(), title);
                      EXPECT_EQ(symbol->parentWidget(), dlg.get());
                  });
        EXPECT_TRUE(dlg->isVisible());
    }
}

} // namespace
} // namespace tallyx::test
