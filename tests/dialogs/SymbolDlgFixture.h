#pragma once
// A symbol dialog over the recording platform, its link on COM1 as after a connect, its
// message boxes recorded.
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <functional>
#include <initializer_list>
#include <utility>

#include "tests/dialogs/DialogLinkFixture.h"
#include "ui/DialogLayout.h"

namespace tallyx::test {

// A whole dialog's look: every control of its template with its accessible name and id.
struct ControlLook {
    int id;
    const char* name;
};

template <class Dialog>
class SymbolDlgTest : public DialogLinkTest {
protected:
    // Title, size in dialog units, and each listed control with its accessible name and id.
    void ExpectLook(const char* title, int width, int height, std::initializer_list<ControlLook> looks)
    {
        EXPECT_EQ(dialog.windowTitle(), QString::fromUtf8(title));
        const DialogUnits units(DialogFont(10));
        EXPECT_EQ(dialog.size(), QSize(units.X(width), units.Y(height)));
        for (const ControlLook& look : looks) {
            SCOPED_TRACE(look.id);
            QWidget* w = dialog.Control(look.id);
            ASSERT_NE(w, nullptr);
            EXPECT_EQ(w->accessibleName(), QString::fromUtf8(look.name));
            EXPECT_EQ(w->accessibleDescription(), QString::number(look.id));
        }
    }
    // The press is refused with the one box shown, owned by the dialog, and nothing is sent.
    void ExpectRefusal(int sendId, const std::string& shown)
    {
        Press(sendId);
        EXPECT_EQ(Shown(), Strings{shown});
        ASSERT_FALSE(boxes.shown.empty());
        EXPECT_EQ(boxes.shown[0].owner, &dialog);
        EXPECT_TRUE(platform.calls.empty());
    }
    // Each content typed into `editId` is refused on `sendId` with its box and stays in the
    // edit; `thenEach` runs after each with that content still typed.
    void ExpectContentRefusals(int editId, int sendId, std::initializer_list<std::pair<QString, const char*>> rows,
                               const std::function<void()>& thenEach = {})
    {
        for (const auto& [content, message] : rows) {
            SCOPED_TRACE(message);
            Reset();
            Type(editId, content);
            ExpectRefusal(sendId, message);
            EXPECT_EQ(TextOf(editId), content);
            if (thenEach) thenEach();
        }
    }
    QComboBox* Combo(int id) { return qobject_cast<QComboBox*>(dialog.Control(id)); }
    void Press(int id) { DialogLinkTest::Press(dialog.Control(id)); }
    void Select(int comboId, const QString& item)
    {
        const int index = Combo(comboId)->findText(item);
        ASSERT_GE(index, 0) << item.toStdString();
        Combo(comboId)->setCurrentIndex(index);
    }
    // The text of an edit, a multi-line edit or an editable combo, as if typed.
    void Type(int id, const QString& text)
    {
        QWidget* w = dialog.Control(id);
        if (auto* edit = qobject_cast<QLineEdit*>(w)) edit->setText(text);
        else if (auto* box = qobject_cast<QPlainTextEdit*>(w)) box->setPlainText(text);
        else if (auto* combo = qobject_cast<QComboBox*>(w)) combo->setEditText(text);
        else ADD_FAILURE() << "no text control " << id;
    }
    QString TextOf(int id)
    {
        QWidget* w = dialog.Control(id);
        if (auto* edit = qobject_cast<QLineEdit*>(w)) return edit->text();
        if (auto* box = qobject_cast<QPlainTextEdit*>(w)) return box->toPlainText();
        if (auto* combo = qobject_cast<QComboBox*>(w)) return combo->currentText();
        return {};
    }
    Strings Items(int comboId)
    {
        Strings out;
        for (int i = 0; i < Combo(comboId)->count(); ++i) out.push_back(Combo(comboId)->itemText(i).toStdString());
        return out;
    }
    Dialog dialog{sender, nullptr};
};

} // namespace tallyx::test
