#pragma once
// A symbol dialog over the recording platform, its link on COM1 as after a connect, its
// message boxes recorded.
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <gtest/gtest.h>

#include "ui/MessageBoxes.h"
#include "tests/support/RecordingBoxes.h"
#include "tests/support/RecordingPlatform.h"

namespace tallyx::test {

using Strings = std::vector<std::string>;

template <class Dialog>
class SymbolDlgTest : public ::testing::Test {
protected:
    SymbolDlgTest()
    {
        InstallBoxes(&boxes);
        link.ReopenPort();
        platform.calls.clear();
    }
    ~SymbolDlgTest() override { InstallBoxes(nullptr); }

    QComboBox* Combo(int id) { return qobject_cast<QComboBox*>(dialog.Control(id)); }
    void Press(int id) { qobject_cast<QPushButton*>(dialog.Control(id))->click(); }
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
    Strings Writes() const
    {
        Strings out;
        for (const auto& c : platform.calls)
            if (c.rfind("write ", 0) == 0) out.push_back(c.substr(6));
        return out;
    }
    Strings Shown() const
    {
        Strings out;
        for (const auto& b : boxes.shown) out.push_back(b.caption + "|" + b.text);
        return out;
    }
    void BreakPort() { link.g_hPort = PortHandle{PortHandle::State::Failed, -1}; }
    void Reset()
    {
        platform.calls.clear();
        boxes.shown.clear();
        host.messages.clear();
    }

    RecordingBoxes boxes;
    RecordingPlatform platform;
    FakeHost host;
    Link link{host, platform};
    Dialog dialog{link, nullptr};
};

// A whole dialog's look: every control of its template with its accessible name and id.
struct ControlLook {
    int id;
    const char* name;
};

} // namespace tallyx::test
