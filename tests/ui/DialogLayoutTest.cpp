// Controls built from a template: an editable combo keeps what the operator typed.
#include <QAbstractItemView>
#include <QAccessible>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <gtest/gtest.h>

#include "res/DialogTemplate.h"
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

// The editable combos are handed their line edit directly; they must end up as the editable
// combo Qt builds: frameless field inside the combo's frame, no completion, no inserting, and a
// drop-down list of the combo's own items.
TEST(DialogLayout, EditableCombosAreWholeEditableCombos)
{
    QDialog dialog;
    const BuiltDialog ui = BuildDialog(dialog, MainWindowTemplate());
    const struct {
        int id;
        bool editable;
    } rows[] = {{id::main::kPort, true}, {id::main::kBaud, true}, {id::main::kDhcp, false}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.id);
        auto* combo = qobject_cast<QComboBox*>(ui.controls.value(row.id));
        ASSERT_NE(combo, nullptr);
        EXPECT_EQ(combo->isEditable(), row.editable);
        EXPECT_EQ(combo->completer(), nullptr);
        if (!row.editable) continue;
        QLineEdit* field = combo->lineEdit();
        ASSERT_NE(field, nullptr);
        EXPECT_EQ(field->parent(), combo);
        EXPECT_FALSE(field->hasFrame());
        EXPECT_EQ(field->focusProxy(), combo);
        EXPECT_EQ(combo->insertPolicy(), QComboBox::NoInsert);
        for (const char* item : {"COM1", "COM2", "USB"}) combo->addItem(item);
        combo->setCurrentIndex(2);
        EXPECT_EQ(field->text(), "USB");
        EXPECT_EQ(combo->view()->model()->rowCount(), 3);
        EXPECT_EQ(combo->view()->verticalScrollBarPolicy(), Qt::ScrollBarAsNeeded);
    }
}

// Every static of every window is read by what it shows; one that shows information beside
// a label keeps that label as its label relation, never as its name.
TEST(DialogLayout, StaticsAreReadByWhatTheyShow)
{
    const DialogTemplate* all[] = {&MainWindowTemplate(), &AboutTemplate(),   &NvLogoTemplate(), &BarCodeTemplate(),
                                   &QrTemplate(),         &Pdf417Template(),  &CodePageTemplate(), &CutterTemplate(),
                                   &VoiceTemplate()};
    for (const DialogTemplate* tpl : all) {
        SCOPED_TRACE(tpl->resourceId);
        QDialog dialog;
        BuildDialog(dialog, *tpl);
        for (auto* label : dialog.findChildren<QLabel*>()) {
            if (label->text().isEmpty()) continue;
            SCOPED_TRACE(label->text().toStdString());
            QAccessibleInterface* read = QAccessible::queryAccessibleInterface(label);
            ASSERT_NE(read, nullptr);
            EXPECT_EQ(read->text(QAccessible::Name), label->text());
        }
    }

    QDialog barcode;
    const BuiltDialog ui = BuildDialog(barcode, BarCodeTemplate());
    QAccessibleInterface* hint = QAccessible::queryAccessibleInterface(ui.controls.value(1057));
    const auto labels = hint->relations(QAccessible::Label);
    ASSERT_EQ(labels.size(), 1);
    EXPECT_EQ(labels[0].first->text(QAccessible::Name), "提示:");
}

} // namespace tallyx::test
