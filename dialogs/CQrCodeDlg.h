#pragma once
// "QR_Dialog" (template 135): a QR Code symbol of the typed content, module size and
// error-correction level chosen, printed centred.
#include "dialogs/CTemplateDlg.h"

class QComboBox;
class QPlainTextEdit;

namespace tallyx {

class CQrCodeDlg : public CTemplateDlg {
    Q_OBJECT
public:
    CQrCodeDlg(Sender& sender, QWidget* parent);

    // Selection indexes of the module size and error-correction level combos, from "8"
    // and "级别M" at every opening.
    int g_qrModuleSizeIndex;
    int g_qrEccIndex;

    // save: the combos into the indexes; otherwise the indexes into the combos.
    void UpdateData(bool save);

public slots:
    void OnSendData();

private:
    QComboBox* m_size;
    QComboBox* m_ecc;
    QPlainTextEdit* m_content;
};

} // namespace tallyx
