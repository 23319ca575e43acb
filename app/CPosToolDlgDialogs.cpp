// The About box and the buttons that only open a secondary dialog. Each dialog is
// modal and owned by the main window, through which it reaches the link.
#include "app/CAboutDlg.h"
#include "app/CPosToolDlg.h"
#include "dialogs/CCodePageDlg.h"
#include "dialogs/CCutterCheckDlg.h"
#include "dialogs/CNvLogoDlg.h"
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
// FIXME: CBarCodeDlg (template 133) comes with the barcode dialog.
void CPosToolDlg::OnBarCode() {}
// FIXME: CQrCodeDlg (template 135) comes with the QR code dialog.
void CPosToolDlg::OnQrCode() {}
// FIXME: CPdf417Dlg (template 137) comes with the PDF417 dialog.
void CPosToolDlg::OnPdf417() {}
void CPosToolDlg::OnCutterCheck() { RunModal<CCutterCheckDlg>(m_cutterRun, m_link, *this, m_platform, this); }
void CPosToolDlg::OnVoiceTest() { RunModal<CVoiceTestDlg>(m_link, this); }

} // namespace tallyx
