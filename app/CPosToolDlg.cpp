#include "app/CPosToolDlg.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSocketNotifier>

#include "app/AppIcon.h"
#include "app/PrintTestBox.h"
#include "app/SendLogWindow.h"
#include "app/StatusWindow.h"
#include "res/Messages.h"
#include "ui/ChoiceCombo.h"
#include "ui/DataExchange.h"
#include "res/Address.h"
#include "commands/Gbk.h"
#include "commands/MainCommands.h"
#include "jobs/Targets.h"
#include "link/PosixPlatform.h"
#include "res/Combos.h"
#include "res/Faults.h"
#include "res/MainWindowControls.h"
#include "res/MainWindowIds.h"
#include "ui/IpAddressCtrl.h"
#include "ui/MessageBoxes.h"

namespace tallyx {

namespace {
using namespace id::main;
constexpr int kEditFontHeightPx = 12;
constexpr int kEditFontWeight = 12;   // the template's weight field, lighter than thin

} // namespace

CPosToolDlg::CPosToolDlg(Platform* platform, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint |
                          Qt::WindowCloseButtonHint),
      m_ownPlatform(platform ? nullptr : std::make_unique<PosixPlatform>()),
      m_platform(platform ? *platform : *m_ownPlatform),
      m_ui(BuildDialog(*this, MainWindowTemplate())),
      m_link(m_platform),
      m_sender(m_link),
      m_senderWake(new QSocketNotifier(m_sender.WakeFd(), QSocketNotifier::Read, this))
{
    // What the sender's worker hands back is shown here, on the window's thread.
    m_sender.SetWindowTell([this](const Outcome& fault) { ReportFault(fault); });
    connect(m_senderWake, &QSocketNotifier::activated, this, [this] { m_sender.Pump(); });
    m_port = Combo(kPort);
    m_baud = Combo(kBaud);
    m_printerIp = Address(kPrinterAddress);
    m_dhcp = Combo(kDhcp);
    m_sendCountEdit = qobject_cast<QLineEdit*>(Control(kSendCount));
    m_printText = qobject_cast<QPlainTextEdit*>(Control(kPrintText));
    m_printTest = new PrintTestBox(*this, m_sender, m_printText, qobject_cast<QCheckBox*>(Control(kHex)));
    m_connect = Button(kConnect);
    // Nobody clicks the hidden buttons; Return never reaches them.
    Button(kSendTrigger)->setAutoDefault(false);
    Button(kReopen)->setAutoDefault(false);

    g_dhcpIndex = 0;
    setWindowIcon(AppIcon());
    BindHandlers();
    OnInitDialog();
}

CPosToolDlg::~CPosToolDlg()
{
    // The notifier watches the sender's descriptor: it goes first.
    delete m_senderWake;
}

QComboBox* CPosToolDlg::Combo(int id) const { return qobject_cast<QComboBox*>(Control(id)); }
IpAddressCtrl* CPosToolDlg::Address(int id) const { return qobject_cast<IpAddressCtrl*>(Control(id)); }
QPushButton* CPosToolDlg::Button(int id) const { return qobject_cast<QPushButton*>(Control(id)); }
void CPosToolDlg::SetEnabled(int id, bool enabled) { Control(id)->setEnabled(enabled); }

void CPosToolDlg::BindHandlers()
{
    auto onClick = [this](int id, void (CPosToolDlg::*handler)()) {
        connect(qobject_cast<QAbstractButton*>(Control(id)), &QAbstractButton::clicked, this, handler);
    };
    onClick(kConnect, &CPosToolDlg::OnConnect);
    connect(m_port, &QComboBox::activated, this, &CPosToolDlg::OnSelchangePort);
    onClick(kSave, &CPosToolDlg::OnSaveNetParams);
    for (const MainCommandDef& def : MainCommandTable()) {
        const int id = def.buttonId;
        connect(Button(id), &QPushButton::clicked, this, [this, id] { OnMainCommand(id); });
    }
    connect(Button(kSendText), &QPushButton::clicked, m_printTest, &PrintTestBox::OnSendText);
    connect(Button(kClear), &QPushButton::clicked, m_printTest, &PrintTestBox::OnClearText);
    onClick(kNvLogo, &CPosToolDlg::OnNvLogo);
    onClick(kCodePage, &CPosToolDlg::OnCodePage);
    onClick(kBarCode, &CPosToolDlg::OnBarCode);
    onClick(kQrCode, &CPosToolDlg::OnQrCode);
    onClick(kPdf417, &CPosToolDlg::OnPdf417);
    onClick(kCutterCheck, &CPosToolDlg::OnCutterCheck);
    onClick(kVoiceTest, &CPosToolDlg::OnVoiceTest);
    onClick(kReopen, &CPosToolDlg::ReopenPort);
    onClick(kSendTrigger, &CPosToolDlg::SendPendingNetData);

}

void CPosToolDlg::FillCombos()
{
    for (const ComboContent& content : kMainCombos) {
        QComboBox* combo = Combo(content.id);
        FillCombo(combo, content.items);
        combo->setCurrentIndex(content.selected);
    }
}

void CPosToolDlg::OnInitDialog()
{
    m_link.ResetState();
    m_printerIp->SetAddress(ParseDottedAddress(kDefaultPrinterIp).value_or(0));

    FillCombo(m_dhcp, kDhcpCombo.items);
    FillCombos();
    SetCaption(m_connect, kConnectCaption);
    SetCommandSetEnabled(false);
    SetEnabled(kSave, false);

    EnableForPortKind();

    Button(kSendTrigger)->hide();
    Button(kReopen)->hide();
    g_sendCount = 1;

    g_editFont = m_ui.font;
    g_editFont.setPixelSize(kEditFontHeightPx);
    g_editFont.setWeight(QFont::Weight(kEditFontWeight));
    m_printText->setFont(g_editFont);
    m_printTest->SetEditBytes(Utf8ToGbk(kDefaultPrintText));

    UpdateData(false);
}

void CPosToolDlg::SetCommandSetEnabled(bool enabled)
{
    for (int id : CommandSetIds()) SetEnabled(id, enabled);
}

bool CPosToolDlg::UpdateData(bool save)
{
    if (!save) {
        m_dhcp->setCurrentIndex(g_dhcpIndex);
        m_sendCountEdit->setText(QString::number(g_sendCount));
        return true;
    }
    g_dhcpIndex = m_dhcp->currentIndex();
    const auto count = ReadUnsignedField(m_sendCountEdit, this);
    if (!count) return false;
    g_sendCount = *count;
    return true;
}

void CPosToolDlg::accept() {}

void CPosToolDlg::keyPressEvent(QKeyEvent* event)
{
    // A focused push button takes Return itself; anywhere else it is the OK command.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

QMenu* CPosToolDlg::CreateSystemMenu(QWidget* parent)
{
    auto* menu = new QMenu(parent);
    menu->setSeparatorsCollapsible(false);
    menu->addAction(ToQString(kSendLogMenu), this, [this] { ShowSendLogWindow(this); });
    menu->addAction(ToQString(kStatusMenu), this, [this] { ShowStatusWindow(this, m_sender, m_cutterRun); });
    menu->addSeparator();
    menu->addAction(ToQString(kMsgAboutMenu), this, &CPosToolDlg::OnAbout);
    return menu;
}

void CPosToolDlg::contextMenuEvent(QContextMenuEvent* event)
{
    // The window manager owns the real system menu; the About item lives here instead.
    QMenu* menu = CreateSystemMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}

Target CPosToolDlg::ChosenTarget() const
{
    return TargetFromChoices(ToUtf8(m_port->currentText()), ToUtf8(m_baud->currentText()), m_printerIp->Entry(),
                             m_tcpPort);
}

Sender::Job CPosToolDlg::AtAddress(Sender::Job job) const
{
    return [address = m_printerIp->Entry(), job = std::move(job)](Link& link, std::stop_token stop) {
        link.SetNetworkAddress(address);
        return job(link, stop);
    };
}

void CPosToolDlg::ReportFault(const Outcome& fault)
{
    const Message message = FaultMessage(fault.fault);
    if (message.caption.empty()) return;   // some faults are not told
    // The application's own box belongs to the active window: a dialog open over this one.
    QWidget* modal = QApplication::activeModalWidget();
    if (fault.fault == LinkFault::UsbOpenFailed && modal && modal != this) return Boxes().Show(message, modal);
    ShowMessage(message);
}

void CPosToolDlg::ShowMessage(const Message& message)
{
    Boxes().Show(message, this);
    if (message.focusId == 0) return;
    if (auto* address = Address(message.focusId)) address->SetFocusFirst();
    else if (QWidget* control = Control(message.focusId)) control->setFocus(Qt::OtherFocusReason);
}

void CPosToolDlg::SendPendingNetData()
{
    m_sender.Post(AtAddress([](Link& link, std::stop_token stop) { return link.SendPendingNetData(stop); }));
}

void CPosToolDlg::ReopenPort()
{
    m_sender.Post([](Link& link, std::stop_token) { return link.ReopenPort(); });
}

} // namespace tallyx
