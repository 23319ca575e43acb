#pragma once
// "NV LOGO" (template 129): a bitmap file chosen and previewed, then printed once, stored
// in one of the printer's five logo slots; a stored logo printed, a slot cleared.
#include <QString>
#include <functional>
#include <optional>
#include "commands/Picture.h"
#include "dialogs/CPictureDlg.h"
#include "dialogs/CTemplateDlg.h"

class QComboBox;

namespace tallyx {

class BitmapPreview;

class CNvLogoDlg : public CTemplateDlg {
    Q_OBJECT
public:
    CNvLogoDlg(Sender& sender, QWidget* parent);

    // The file dialog of "打开BMP": the chosen path, or empty when cancelled.
    std::function<QString(QWidget* owner)> m_chooseFile;
    // The preview window of a picture that is not a BMP: the dots and how to send them
    // once the operator confirms, nothing when cancelled.
    struct PictureChoice {
        DotPicture dots;
        PictureCommand command = PictureCommand::Raster;
    };
    std::function<std::optional<PictureChoice>(const std::string& path, DecodedPicture decoded, PictureUse use,
                                               QWidget* owner)>
        m_previewPicture;

    // Selection indexes of the slot and print mode combos, from 0 at every opening.
    int g_logoIndex = 0;
    int g_logoPrintMode = 0;
    // The chosen file; a file counts as chosen when this is not empty.
    QString m_strBmpPath;

    BitmapPreview* Preview() const { return m_preview; }

    // save: the combos into the indexes; otherwise the indexes into the combos.
    void UpdateData(bool save);

public slots:
    void OnOpenBmp();
    void OnTestPicture();
    void OnDownloadLogo();
    void OnPrintLogo();
    void OnClearLogo();

private:
    // The port test, then the command to the main window's sender; `next` runs when it
    // has been delivered.
    void Send(const Bytes& bytes, std::function<void()> next = {});
    // A picture that is not a BMP, through its preview window; nothing when the file is
    // refused (its message shown) or the operator cancels.
    std::optional<PictureChoice> PreviewPicture(PictureUse use);
    // The bands from `next` on, each sent whole; over serial a band waits while the head
    // prints the one before, on a timer, never holding the window.
    void SendBands(std::vector<PictureBand> bands, size_t next);

    QComboBox* m_slot;
    QComboBox* m_mode;
    BitmapPreview* m_preview;
};

} // namespace tallyx
