#include "dialogs/CNvLogoDlg.h"

#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QPointer>
#include <QTimer>

#include "commands/NvLogo.h"
#include "decode/PictureFile.h"
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
    dialog.setNameFilters({ToQString(kFilterBitmapFiles), ToQString(kFilterPictureFiles)});
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(QStringLiteral("bmp"));
    return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
}

std::string FileSystemName(const QString& path) { return QFile::encodeName(path).toStdString(); }

std::optional<CNvLogoDlg::PictureChoice> RunPictureDlg(const std::string& path, DecodedPicture decoded, PictureUse use,
                                                       QWidget* owner)
{
    CPictureDlg dialog(path, std::move(decoded), use, owner);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return CNvLogoDlg::PictureChoice{dialog.Dots(), dialog.Options().command};
}

} // namespace

CNvLogoDlg::CNvLogoDlg(Sender& sender, QWidget* parent)
    : CTemplateDlg(sender, parent, NvLogoTemplate(), OkCommand::Closes), m_chooseFile(ChooseBitmapFile),
      m_previewPicture(RunPictureDlg)
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

std::optional<CNvLogoDlg::PictureChoice> CNvLogoDlg::PreviewPicture(PictureUse use)
{
    const std::string path = FileSystemName(m_strBmpPath);
    const DecodeResult decoded = DecodePictureFile(path, PictureOptions{});
    if (const Message* refusal = decoded.refusal()) {
        Boxes().Show(*refusal, this);
        return std::nullopt;
    }
    return m_previewPicture(path, decoded.picture(), use, this);
}

void CNvLogoDlg::SendBands(std::vector<PictureBand> bands, size_t next)
{
    if (next >= bands.size()) return;
    // The window does not know the line's rate here: it waits the head's whole time.
    const int pause = m_sender.GetLink().Kind() == LinkKind::Serial ? BandPauseMs(bands[next], 0) : 0;
    const Bytes bytes = bands[next].bytes;
    // The next band goes only once this one is in, so a failed band ends the picture.
    Send(bytes, [this, bands = std::move(bands), next, pause]() mutable {
        if (next + 1 >= bands.size()) return;
        if (pause <= 0) return SendBands(std::move(bands), next + 1);
        QTimer::singleShot(pause, this,
                           [this, bands = std::move(bands), next]() mutable { SendBands(std::move(bands), next + 1); });
    });
}

void CNvLogoDlg::OnTestPicture()
{
    UpdateData(true);
    // Any picture but a BMP goes through its preview; a BMP as it always has.
    if (!m_strBmpPath.isEmpty() && !IsBmpFile(FileSystemName(m_strBmpPath))) {
        const std::optional<PictureChoice> chosen = PreviewPicture(PictureUse::Print);
        if (!chosen) return;
        SendBands(BuildPictureBands(chosen->dots, chosen->command), 0);
        UpdateData(false);
        return;
    }
    const Result result = BuildTestPictureCommand(FileSystemName(m_strBmpPath));
    if (const Message* refusal = result.refusal()) return Boxes().Show(*refusal, this);
    Send(result.bytes(), [this] { UpdateData(false); });
}

void CNvLogoDlg::OnDownloadLogo()
{
    UpdateData(true);
    Result result = BuildDownloadLogoCommand(FileSystemName(m_strBmpPath), g_logoIndex);
    if (!m_strBmpPath.isEmpty() && !IsBmpFile(FileSystemName(m_strBmpPath))) {
        const std::optional<PictureChoice> chosen = PreviewPicture(PictureUse::Logo);
        if (!chosen) return;
        result = BuildDownloadLogoCommand(chosen->dots, g_logoIndex);
    }
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
