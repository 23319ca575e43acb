#include "dialogs/CTemplateDlg.h"

#include <QKeyEvent>

namespace tallyx {

CTemplateDlg::CTemplateDlg(Sender& sender, QWidget* parent, const DialogTemplate& tpl, OkCommand ok)
    : QDialog(parent), m_sender(sender), m_ui(BuildDialog(*this, tpl)), m_ok(ok)
{
}

void CTemplateDlg::accept()
{
    if (m_ok == OkCommand::Closes) QDialog::accept();
}

void CTemplateDlg::keyPressEvent(QKeyEvent* event)
{
    // A focused push button takes Return itself; anywhere else it is the OK command.
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && m_ok == OkCommand::DoesNothing) return event->accept();
    if (enter && !qobject_cast<QPushButton*>(focusWidget())) return accept();
    QDialog::keyPressEvent(event);
}

} // namespace tallyx
