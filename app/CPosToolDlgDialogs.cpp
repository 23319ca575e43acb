// The About box and the buttons that only open a secondary dialog. Each dialog is
// modal and owned by the main window, through which it reaches the link.
#include "app/CAboutDlg.h"
#include "app/CPosToolDlg.h"
#include "dialogs/CBarCodeDlg.h"
#include "dialogs/CCodePageDlg.h"
#include "dialogs/CCutterCheckDlg.h"
#include "dialogs/CNvLogoDlg.h"
#include "dialogs/CPdf417Dlg.h"
#include "dialogs/CQrCodeDlg.h"
#include "dialogs/CVoiceTestDlg.h"

namespace tallyx {

namespace {
template <class Dialog, class... Args>
void RunModal(Args&&... args)
{
    Dialog dialog(std::forward<Args>(args)...);
    dialog.exec();
}
} // namespace

void CPosToolDlg::OnAbout() { RunModal<CAboutDlg>(this); }

void CPosToolDlg::OnNvLogo() { RunModal<CNvLogoDlg>(m_sender, this); }
void CPosToolDlg::OnCodePage() { RunModal<CCodePageDlg>(m_sender, this); }
void CPosToolDlg::OnBarCode() { RunModal<CBarCodeDlg>(m_sender, this); }
void CPosToolDlg::OnQrCode() { RunModal<CQrCodeDlg>(m_sender, this); }
void CPosToolDlg::OnPdf417() { RunModal<CPdf417Dlg>(m_sender, this); }
void CPosToolDlg::OnCutterCheck() { RunModal<CCutterCheckDlg>(m_cutterRun, m_sender, this); }
void CPosToolDlg::OnVoiceTest() { RunModal<CVoiceTestDlg>(m_sender, this); }

} // namespace tallyx
