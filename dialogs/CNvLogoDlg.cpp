#include "dialogs/CNvLogoDlg.h"

#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QPointer>

#include "commands/NvLogo.h"
#include "res/Messages.h"
#include "res/NvLogoIds.h"
#include "res/NvLogoTemplate.h"
#include "ui/BitmapPreview.h"
#include "ui/ChoiceCombo.h"
#include "ui/DataExchange.h"
#include "ui/MessageBoxes.h"

namespace tallyx {

namespace {
QString ChooseBitmapFile(QWidget* owner)
{
    QFileDialog dialog(owner, QString(), QString(), ToQString(kFilterBitmapFiles));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(QStringLiteral("bmp"));
    return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
}

std::string FileSystemName(const QString& path) { return QFile::encodeName(path).toStdString(); }

} // namespace

CNvLogoDlg::CNvLogoDlg(Sender& sender, QWidget* parent)
    : CTemplateDlg(sender, parent, NvLogoTemplate(), OkCommand::Closes), m_chooseFile(ChooseBitmapFile)
{
    m_slot = qobject_cast<QComboBox*>(Control(id::nvlogo::kSlot));
    m_mode = qobject_cast<QComboBox*>(Control(id::nvlogo::kMode));
    FillCombo(m_slot, nvlogo::kSlotItems);
    FillCombo(m_mode, nvlogo::kModeItems);

    m_preview = new BitmapPreview(this);
    m_preview->setGeometry(m_ui.units.ToPixels(nvlogo::kPreviewRect));
    const QString previewId = QString::number(id::nvlogo::kPreview);
    m_preview->setObjectName(previewId);
    m_preview->setAccessibleDescription(previewId);
    m_ui.controls.insert(id::nvlogo::kPreview, m_preview);

    ConnectButtons<CNvLogoDlg>({
        {id::nvlogo::kOpenBmp, &CNvLogoDlg::OnOpenBmp},     {id::nvlogo::kTestPicture, &CNvLogoDlg::OnTestPicture},
        {id::nvlogo::kDownload, &CNvLogoDlg::OnDownloadLogo}, {id::nvlogo::kPrint, &CNvLogoDlg::OnPrintLogo},
        {id::nvlogo::kClear, &CNvLogoDlg::OnClearLogo},
    });
    UpdateData(false);
}

void CNvLogoDlg::UpdateData(bool save)
{
    ExchangeIndex(save, m_slot, g_logoIndex);
    ExchangeIndex(save, m_mode, g_logoPrintMode);
}

void CNvLogoDlg::Send(const Bytes& bytes, std::function<void()> next)
{
    // The window shows why it failed; the next step follows only a delivery, once it is in.
    if (!m_sender.CheckPortHandle()) return;   // shown over this dialog, now
    const QPointer<CNvLogoDlg> self(this);
    m_sender.SendToPrinter(bytes, [self, next = std::move(next)](const Outcome& outcome) {
        if (self && outcome.ok() && next) next();
    });
}

void CNvLogoDlg::OnOpenBmp()
{
    UpdateData(true);
    const QString chosen = m_chooseFile(this);
    if (!chosen.isEmpty()) {
        // The preview checks nothing: an unreadable file stays chosen with an empty frame.
        m_preview->SetPicture(LoadPreviewPicture(chosen));
        m_strBmpPath = chosen;
    }
    UpdateData(false);
}

void CNvLogoDlg::OnTestPicture()
{
    UpdateData(true);
    const Result result = BuildTestPictureCommand(FileSystemName(m_strBmpPath));
    if (const Message* refusal = result.refusal()) return Boxes().Show(*refusal, this);
    Send(result.bytes(), [this] { UpdateData(false); });
}

void CNvLogoDlg::OnDownloadLogo()
{
    UpdateData(true);
    const Result result = BuildDownloadLogoCommand(FileSystemName(m_strBmpPath), g_logoIndex);
    if (const Message* refusal = result.refusal()) return Boxes().Show(*refusal, this);
    Send(result.bytes(), [this] { Boxes().Show({kCaptionNvLogo, kMsgLogoDownloaded}, this); });
}

void CNvLogoDlg::OnPrintLogo()
{
    UpdateData(true);
    Send(BuildPrintLogoCommand(g_logoIndex, g_logoPrintMode));
}

void CNvLogoDlg::OnClearLogo()
{
    UpdateData(true);
    Send(BuildClearLogoCommand(g_logoIndex), [this] { Boxes().Show({kCaptionNvLogo, kMsgLogoCleared}, this); });
}

} // namespace tallyx
