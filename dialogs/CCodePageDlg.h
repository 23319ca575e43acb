#pragma once
// "Set CodePage" (template 131): store one of 75 code pages in the printer, print the
// current one as a chart, print the self-test page.
#include "dialogs/CTemplateDlg.h"

class QComboBox;

namespace tallyx {

class CCodePageDlg : public CTemplateDlg {
    Q_OBJECT
public:
    CCodePageDlg(Sender& sender, QWidget* parent);

    // Selection of the code page list, 0 at every opening; -1 when the typed text is no item.
    int g_codePageIndex = 0;

    // save: the list into the index; otherwise the index into the list.
    void UpdateData(bool save);

public slots:
    void OnSetCodePage();
    void OnPrintCodePage();
    void OnPrintSelfTest();

private:
    void Send(const Bytes& bytes);

    QComboBox* m_list;
};

} // namespace tallyx
