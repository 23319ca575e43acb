#pragma once
// "PDF417_Dialog" (template 137): a PDF417 symbol of the typed content, its shape and
// error correction read from the texts of its combos, printed centred.
#include <QDialog>

#include "ui/DialogLayout.h"
#include "link/Link.h"

class QComboBox;
class QPlainTextEdit;

namespace tallyx {

class CPdf417Dlg : public QDialog {
    Q_OBJECT
public:
    // The main window opens it modally with itself as parent and lends it its link.
    CPdf417Dlg(Link& link, QWidget* parent);

    QWidget* Control(int id) const { return m_ui.controls.value(id); }

public slots:
    void OnSelchangeCorrectionMode();
    void OnSendData();
    // OK does nothing: Return never closes this dialog; Esc does.
    void accept() override {}

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    QComboBox* Combo(int id) const;
    // Fills the combos and selects their first positions.
    void OnInitDialog();

    Link& m_link;
    BuiltDialog m_ui;
    QPlainTextEdit* m_content;
};

} // namespace tallyx
