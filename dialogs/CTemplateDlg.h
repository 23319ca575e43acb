#pragma once
// What the printer-command dialogs share: built from their template, the main window's sender
// lent to them, and what Return does away from a push button.
#include <QDialog>
#include <QPushButton>
#include <initializer_list>
#include <utility>

#include "link/Sender.h"
#include "ui/DialogLayout.h"

namespace tallyx {

class CTemplateDlg : public QDialog {
    Q_OBJECT
public:
    // Return away from a push button is the dialog's OK command: it closes some dialogs and
    // does nothing in others (Esc still closes those).
    enum class OkCommand { Closes, DoesNothing };

    QWidget* Control(int id) const { return m_ui.controls.value(id); }

    void accept() override;

protected:
    // Every such dialog is opened modally by the main window, with the window as its parent
    // and the window's sender lent to it: a send waits for nothing here.
    CTemplateDlg(Sender& sender, QWidget* parent, const DialogTemplate& tpl, OkCommand ok);

    void keyPressEvent(QKeyEvent* event) override;

    // Each push button's clicks to its handler.
    template <class Dialog>
    void ConnectButtons(std::initializer_list<std::pair<int, void (Dialog::*)()>> handlers)
    {
        for (const auto& [id, handler] : handlers)
            connect(qobject_cast<QPushButton*>(Control(id)), &QPushButton::clicked, static_cast<Dialog*>(this), handler);
    }

    Sender& m_sender;
    BuiltDialog m_ui;

private:
    OkCommand m_ok;
};

} // namespace tallyx
