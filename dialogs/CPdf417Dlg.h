#pragma once
// "PDF417_Dialog" (template 137): a PDF417 symbol of the typed content, its shape and
// error correction read from the texts of its combos, printed centred.
#include "dialogs/CTemplateDlg.h"

class QComboBox;
class QPlainTextEdit;

namespace tallyx {

class CPdf417Dlg : public CTemplateDlg {
    Q_OBJECT
public:
    CPdf417Dlg(Sender& sender, QWidget* parent);

public slots:
    void OnSelchangeCorrectionMode();
    void OnSendData();

private:
    QComboBox* Combo(int id) const;
    // Fills the combos and selects their first positions.
    void OnInitDialog();

    QPlainTextEdit* m_content;
};

} // namespace tallyx
