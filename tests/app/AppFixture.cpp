#include "tests/app/AppFixture.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <QTimer>

#include "res/MainWindowIds.h"
#include "tests/support/LoopbackServer.h"
#include "ui/IpAddressCtrl.h"

namespace tallyx::test {

AppTest::AppTest()
{
    InstallBoxes(&boxes);
    dlg = std::make_unique<CPosToolDlg>(&platform);
}

AppTest::~AppTest()
{
    dlg.reset();
    InstallBoxes(nullptr);
}

QWidget* AppTest::Ctl(int id) const
{
    QWidget* w = dlg->Control(id);
    EXPECT_NE(w, nullptr) << "no control " << id;
    return w;
}

QComboBox* AppTest::ComboAt(int id) const { return qobject_cast<QComboBox*>(Ctl(id)); }
IpAddressCtrl* AppTest::AddressAt(int id) const { return qobject_cast<IpAddressCtrl*>(Ctl(id)); }
QLineEdit* AppTest::SendCount() const { return qobject_cast<QLineEdit*>(Ctl(id::main::kSendCount)); }
QPlainTextEdit* AppTest::PrintBox() const { return qobject_cast<QPlainTextEdit*>(Ctl(id::main::kPrintText)); }
QCheckBox* AppTest::HexBox() const { return qobject_cast<QCheckBox*>(Ctl(id::main::kHex)); }

void AppTest::SelectItem(int comboId, const QString& item)
{
    QComboBox* combo = ComboAt(comboId);
    const int index = combo->findText(item, Qt::MatchExactly | Qt::MatchCaseSensitive);
    ASSERT_GE(index, 0) << item.toStdString();
    combo->setCurrentIndex(index);
    emit combo->activated(index);
}

void AppTest::ConnectOn(const QString& port)
{
    SelectItem(id::main::kPort, port);
    Press(id::main::kConnect);
}

void AppTest::Press(int id)
{
    auto* button = qobject_cast<QAbstractButton*>(Ctl(id));
    ASSERT_NE(button, nullptr);
    ASSERT_TRUE(button->isEnabled()) << "control " << id << " is disabled";
    button->click();
    Settle();
}

void AppTest::Settle()
{
    for (int round = 0; round < 4; ++round) {
        EXPECT_TRUE(dlg->GetSender().WaitIdle(10'000));
        dlg->GetSender().Pump();
    }
}

std::vector<std::string> AppTest::Shown() const
{
    std::vector<std::string> out;
    for (const auto& s : boxes.shown) out.push_back(s.caption + "|" + s.text);
    return out;
}

void AppTest::ConnectToAPrinterThatGoes(Platform& real, int retryLimitMs)
{
    dlg = std::make_unique<CPosToolDlg>(&real);
    LoopbackServer printer(LoopbackServer::Options{0, std::string(22, '\0')});
    dlg->SetTcpPort(printer.Port());
    dlg->GetLink().m_sendRetryLimitMs = retryLimitMs;
    SelectItem(id::main::kPort, "Ethernet");
    AddressAt(id::main::kPrinterAddress)->SetAddress(0x7F000001);
    Press(id::main::kConnect);
    ASSERT_TRUE(dlg->GetLink().IsConnected());
}

void AppTest::ShowActive()
{
    dlg->show();
    dlg->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(dlg.get()));
}

void WithModal(const std::function<void()>& open, const std::function<void(QWidget*)>& check)
{
    bool seen = false;
    QTimer::singleShot(0, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        ASSERT_NE(modal, nullptr);
        seen = true;
        check(modal);
        if (auto* dialog = qobject_cast<QDialog*>(modal)) dialog->reject();
    });
    open();
    EXPECT_TRUE(seen);
}

} // namespace tallyx::test
