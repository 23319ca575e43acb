#pragma once
// "Set CodePage" (template 131): store one of 75 code pages in the printer, print the
// current one as a chart, print the self-test page.
#include <QDialog>

#include "ui/DialogLayout.h"
#include "link/Link.h"

class QComboBox;

namespace tallyx {

class CCodePageDlg : public QDialog {
    Q_OBJECT
public:
    // The main window opens it modally with itself as parent and lends it its link.
    CCodePageDlg(Link& link, QWidget* parent);

    // Selection of the code page list, 0 at every opening; -1 when the typed text is no item.
    int g_codePageIndex = 0;

    QWidget* Control(int id) const { return m_ui.controls.value(id); }
    // save: the list into the index; otherwise the index into the list.
    void UpdateData(bool save);

    // The OK command does nothing: Return never closes the dialog.
    void accept() override {}

public slots:
    void OnSetCodePage();
    void OnPrintCodePage();
    void OnPrintSelfTest();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void Send(const Bytes& bytes);

    Link& m_link;
    BuiltDialog m_ui;
    QComboBox* m_list;
};

} // namespace tallyx
