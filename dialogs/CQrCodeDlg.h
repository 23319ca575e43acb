#pragma once
// "QR_Dialog" (template 135): a QR Code symbol of the typed content, module size and
// error-correction level chosen, printed centred.
#include <QDialog>

#include "ui/DialogLayout.h"
#include "link/Link.h"

class QComboBox;
class QPlainTextEdit;

namespace tallyx {

class CQrCodeDlg : public QDialog {
    Q_OBJECT
public:
    // The main window opens it modally with itself as parent and lends it its link.
    CQrCodeDlg(Link& link, QWidget* parent);

    // Selection indexes of the module size and error-correction level combos, from "8"
    // and "级别M" at every opening.
    int g_qrModuleSizeIndex;
    int g_qrEccIndex;

    QWidget* Control(int id) const { return m_ui.controls.value(id); }

    // save: the combos into the indexes; otherwise the indexes into the combos.
    void UpdateData(bool save);

public slots:
    void OnSendData();
    // OK does nothing: Return never closes this dialog; Esc does.
    void accept() override {}

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    Link& m_link;
    BuiltDialog m_ui;
    QComboBox* m_size;
    QComboBox* m_ecc;
    QPlainTextEdit* m_content;
};

} // namespace tallyx
