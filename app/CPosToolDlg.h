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
#include "ui/DialogLayout.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;

namespace tallyx {

class IpAddressCtrl;
class PrintTestBox;
class PosixPlatform;
struct MainCommandDef;

class CPosToolDlg : public QDialog, public LinkHost {
    Q_OBJECT
public:
    // platform: the devices and sockets to use; nullptr means the real ones.
    explicit CPosToolDlg(Platform* platform = nullptr, QWidget* parent = nullptr);
    ~CPosToolDlg() override;

    Link& GetLink() { return m_link; }
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

    // LinkHost
    std::string PortText() override;
    std::string BaudText() override;
    AddressEntry PrinterAddress() override;
    void ReportFault(const Outcome& fault) override;
    // A box owned by the window, then the focus on the control the message names.
    void ShowMessage(const Message& message);
    void PostSendTrigger(uint64_t times) override;

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
    void SendPendingNetData();   // the hidden send trigger button
    void ReopenPort();           // the hidden reopen button

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

    QComboBox* m_port;
    QComboBox* m_baud;
    IpAddressCtrl* m_printerIp;
    QComboBox* m_dhcp;
    QLineEdit* m_sendCountEdit;
    QPlainTextEdit* m_printText;
    PrintTestBox* m_printTest;
    QPushButton* m_connect;
    QPushButton* m_sendTrigger;

    // Posted network sends not yet run; one queued click carries them all.
    std::atomic<uint64_t> m_pendingTriggers{0};


    // Outlives the cutter dialog (Esc leaves a run going); last, so it is stopped and
    // joined before the link and the texts it reads go away.
    CutterRun m_cutterRun;
};

} // namespace tallyx
