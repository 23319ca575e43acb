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

void CPosToolDlg::OnNvLogo() { RunModal<CNvLogoDlg>(m_link, this); }
void CPosToolDlg::OnCodePage() { RunModal<CCodePageDlg>(m_link, this); }
void CPosToolDlg::OnBarCode() { RunModal<CBarCodeDlg>(m_link, this); }
void CPosToolDlg::OnQrCode() { RunModal<CQrCodeDlg>(m_link, this); }
void CPosToolDlg::OnPdf417() { RunModal<CPdf417Dlg>(m_link, this); }
void CPosToolDlg::OnCutterCheck() { RunModal<CCutterCheckDlg>(m_cutterRun, m_link, *this, this); }
void CPosToolDlg::OnVoiceTest() { RunModal<CVoiceTestDlg>(m_link, this); }

} // namespace tallyx
