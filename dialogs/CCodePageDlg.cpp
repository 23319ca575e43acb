#include "dialogs/CCodePageDlg.h"

#include <QComboBox>

#include "commands/CodePage.h"
#include "res/CodePageIds.h"
#include "res/DialogTemplate.h"
#include "res/CodePages.h"

namespace tallyx {

CCodePageDlg::CCodePageDlg(Sender& sender, QWidget* parent)
    : CTemplateDlg(sender, parent, CodePageTemplate(), OkCommand::DoesNothing)
{
    m_list = qobject_cast<QComboBox*>(Control(id::codepage::kList));
    for (const CodePageEntry& entry : kCodePages) m_list->addItem(ToQString(entry.item));
    m_list->setMaxVisibleItems(20);

    ConnectButtons<CCodePageDlg>({
        {id::codepage::kSet, &CCodePageDlg::OnSetCodePage},
        {id::codepage::kPrintChart, &CCodePageDlg::OnPrintCodePage},
        {id::codepage::kSelfTest, &CCodePageDlg::OnPrintSelfTest},
    });
    UpdateData(false);
}

void CCodePageDlg::UpdateData(bool save)
{
    if (!save) {
        m_list->setCurrentIndex(g_codePageIndex);
        return;
    }
    // Typing into the field leaves no item selected, unless the text is the selected item.
    const int index = m_list->currentIndex();
    g_codePageIndex = index >= 0 && m_list->currentText() == m_list->itemText(index) ? index : -1;
}

void CCodePageDlg::Send(const Bytes& bytes)
{
    if (!m_sender.CheckPortHandle()) return;   // the link shows why
    m_sender.SendToPrinter(bytes);
}

void CCodePageDlg::OnSetCodePage()
{
    UpdateData(true);
    if (!m_sender.CheckPortHandle()) return;
    // No item selected: nothing to store.
    if (const auto command = BuildSetCodePageCommand(g_codePageIndex)) m_sender.SendToPrinter(*command);
}

void CCodePageDlg::OnPrintCodePage()
{
    UpdateData(true);
    Send(BuildCodePageChart());
}

void CCodePageDlg::OnPrintSelfTest()
{
    UpdateData(true);
    Send(BuildCodePageSelfTest());
}

} // namespace tallyx
