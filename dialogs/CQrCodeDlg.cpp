#include "dialogs/CQrCodeDlg.h"

#include <QComboBox>
#include <QPlainTextEdit>

#include "ui/DataExchange.h"
#include "ui/MessageBoxes.h"
#include "commands/TwoDim.h"
#include "commands/Gbk.h"
#include "ui/ChoiceCombo.h"
#include "ui/QtText.h"
#include "res/QrIds.h"
#include "res/DialogTemplate.h"
#include "res/SymbolChoices.h"

namespace tallyx {

CQrCodeDlg::CQrCodeDlg(Sender& sender, QWidget* parent)
    : CTemplateDlg(sender, parent, QrTemplate(), OkCommand::DoesNothing),
      g_qrModuleSizeIndex(qr::kModuleSizeDefault), g_qrEccIndex(qr::kEccDefault)
{
    m_size = qobject_cast<QComboBox*>(Control(id::qr::kModuleSize));
    m_ecc = qobject_cast<QComboBox*>(Control(id::qr::kEcc));
    m_content = qobject_cast<QPlainTextEdit*>(Control(id::qr::kContent));
    FillCombo(m_size, qr::kModuleSizes);
    FillCombo(m_ecc, qr::kEccLevels);
    UpdateData(false);
    ConnectButtons<CQrCodeDlg>({{id::qr::kSend, &CQrCodeDlg::OnSendData}});
}

void CQrCodeDlg::UpdateData(bool save)
{
    ExchangeIndex(save, m_size, g_qrModuleSizeIndex);
    ExchangeIndex(save, m_ecc, g_qrEccIndex);
}

void CQrCodeDlg::OnSendData()
{
    UpdateData(true);
    if (!m_sender.CheckPortHandle()) return;   // before the content is looked at
    // Without a selection the bytes are those of index -1, as the index is sent.
    const QrParams params{SelectedByte(m_size, 0), SelectedByte(m_ecc, 0xFF)};
    const Result result = BuildQrCommand(params, Utf8ToGbk(WithCrLf(ToUtf8(m_content->toPlainText()))));
    if (const Message* refusal = result.refusal()) return Boxes().Show(*refusal, this);
    m_sender.SendToPrinter(result.bytes());
    UpdateData(false);
}

} // namespace tallyx
