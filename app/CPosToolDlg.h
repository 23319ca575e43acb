#pragma once
// The main window: port selection, printer and network addresses, the print-test box
// and every command button. It owns the printer link and opens the secondary dialogs.
#include <QDialog>
#include <QFont>
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

#include "jobs/CutterRun.h"
#include "link/Link.h"
#include "link/Sender.h"
#include "ui/DialogLayout.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QSocketNotifier;

namespace tallyx {

class IpAddressCtrl;
class PrintTestBox;
class PosixPlatform;
struct MainCommandDef;

class CPosToolDlg : public QDialog {
    Q_OBJECT
public:
    // platform: the devices and sockets to use; nullptr means the real ones.
    explicit CPosToolDlg(Platform* platform = nullptr, QWidget* parent = nullptr);
    ~CPosToolDlg() override;

    Link& GetLink() { return m_link; }
    // Every link operation of the window and its dialogs goes through it.
    Sender& GetSender() { return m_sender; }
    // The network printer's port (9100; the virtual printer's own elsewhere).
    void SetTcpPort(uint16_t port) { m_tcpPort = port; }
    CutterRun& GetCutterRun() { return m_cutterRun; }
    QWidget* Control(int id) const { return m_ui.controls.value(id); }
    const DialogUnits& Units() const { return m_ui.units; }

    // Values exchanged with the controls by UpdateData.
    int g_dhcpIndex = 0;          // selection of the DHCP combo
    uint32_t g_sendCount = 1;     // the send count edit
    // The printer's network parameters read back at an Ethernet connect.
    uint32_t g_netIp = 0;
    uint32_t g_netMask = 0;
    uint32_t g_netGateway = 0;
    uint32_t g_netDns = 0;
    QFont g_editFont;             // the print-test box

    // save: controls into the values (false when the send count is not a number,
    // which keeps its previous value); otherwise the values into the controls.
    bool UpdateData(bool save);

    // The window menu: a separator and the About item.
    QMenu* CreateSystemMenu(QWidget* parent);

    // The port, baud and address choices as the link's target.
    Target ChosenTarget() const;
    // The job after the network address is taken from its control as it stands now (the
    // network's sends read it at each command).
    Sender::Job AtAddress(Sender::Job job) const;
    // A fault the link told, as the operator reads it.
    void ReportFault(const Outcome& fault);
    // A box owned by the window, then the focus on the control the message names.
    void ShowMessage(const Message& message);

public slots:
    void OnConnect();
    void OnSelchangePort();
    void OnMainCommand(int buttonId);
    void OnSaveNetParams();
    void OnAbout();
    void OnNvLogo();
    void OnCodePage();
    void OnBarCode();
    void OnQrCode();
    void OnPdf417();
    void OnCutterCheck();
    void OnVoiceTest();
    void SendPendingNetData();   // the hidden kSendTrigger button, which the program never clicks
    void ReopenPort();           // the hidden kReopen button, likewise

    // The OK command does nothing: Return never closes the window.
    void accept() override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void OnInitDialog();
    void BindHandlers();
    void FillCombos();
    void OnSelfTest(const MainCommandDef& def);
    void Disconnect();
    void OnConnected(const ConnectOutcome& outcome);
    void EnableForPortKind();
    void SetCommandSetEnabled(bool enabled);
    void SetEnabled(int id, bool enabled);
    QComboBox* Combo(int id) const;
    IpAddressCtrl* Address(int id) const;
    QPushButton* Button(int id) const;

    std::unique_ptr<PosixPlatform> m_ownPlatform;
    Platform& m_platform;
    BuiltDialog m_ui;
    Link m_link;
    Sender m_sender;   // after the link: joined before it goes
    QSocketNotifier* m_senderWake;
    uint16_t m_tcpPort = kPrinterTcpPort;
    bool m_connecting = false;   // a connect is under way: another press waits for it

    QComboBox* m_port;
    QComboBox* m_baud;
    IpAddressCtrl* m_printerIp;
    QComboBox* m_dhcp;
    QLineEdit* m_sendCountEdit;
    QPlainTextEdit* m_printText;
    PrintTestBox* m_printTest;
    QPushButton* m_connect;


    // Outlives the cutter dialog (Esc leaves a run going); last, so it is stopped and
    // joined before the link and the texts it reads go away.
    CutterRun m_cutterRun;
};

} // namespace tallyx
