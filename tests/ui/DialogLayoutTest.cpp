// Controls built from a template: an editable combo keeps what the operator typed.
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QSignalSpy>
#include <gtest/gtest.h>

#include "res/MainWindowControls.h"
#include "res/MainWindowIds.h"
#include "ui/DialogLayout.h"

namespace tallyx::test {

// Qt matches typed text against the items when editing finishes and counts a match as a
// pick from the list; typing into the port combo must never run its selection handler.
TEST(DialogLayout, TypedComboTextIsNeitherMatchedNorPicked)
{
    QDialog dialog;
    const BuiltDialog ui = BuildDialog(dialog, MainWindowTemplate());
    auto* port = qobject_cast<QComboBox*>(ui.controls.value(id::main::kPort));
    ASSERT_NE(port, nullptr);
    for (const char* item : {"COM1", "USB"}) port->addItem(item);
    QSignalSpy picked(port, &QComboBox::activated);
    for (const char* typed : {"usb", "USB"}) {
        SCOPED_TRACE(typed);
        port->setCurrentIndex(0);
        port->lineEdit()->setText(typed);
        emit port->lineEdit()->editingFinished();
        EXPECT_EQ(port->currentText().toStdString(), typed);
        EXPECT_EQ(picked.count(), 0);
        EXPECT_EQ(port->count(), 2);
    }
}

} // namespace tallyx::test
