#include "app/PrintTestBox.h"

#include <QCheckBox>
#include <QPlainTextEdit>

#include "app/CPosToolDlg.h"
#include "commands/Gbk.h"
#include "commands/Hex.h"
#include "commands/PrintTest.h"
#include "res/Messages.h"
#include "ui/MessageBoxes.h"
#include "ui/QtText.h"

namespace tallyx {

PrintTestBox::PrintTestBox(CPosToolDlg& window, Sender& sender, QPlainTextEdit* edit, QCheckBox* hex)
    : QObject(&window), m_window(window), m_sender(sender), m_edit(edit), m_hex(hex)
{
    // Every change of the box, by mouse, key or assistive technology, converts the text.
    connect(m_hex, &QCheckBox::toggled, this, [this] {
        if (!m_converting) OnHexMode();
    });
}

std::string PrintTestBox::EditBytes() const { return BytesFromBoxText(ToUtf8(m_edit->toPlainText())); }

void PrintTestBox::SetEditBytes(const std::string& bytes) { m_edit->setPlainText(ToQString(BoxTextFromBytes(bytes))); }

void PrintTestBox::OnSendText()
{
    m_window.UpdateData(true);
    const bool hexMode = m_hex->isChecked();
    if (!m_sender.CheckPortHandle()) return;   // told by the link
    const Result result = BuildPrintTestCommand(EditBytes(), hexMode);
    if (const Message* refusal = result.refusal()) return Boxes().Show(*refusal, &m_window);
    m_sender.Post(m_window.AtAddress([bytes = result.bytes(), count = m_window.g_sendCount](Link& link, std::stop_token stop) {
        return link.Deliver(bytes, count, stop);
    }));
}

void PrintTestBox::OnHexMode()
{
    m_converting = true;
    m_window.UpdateData(true);
    const bool nowHex = m_hex->isChecked();
    const std::string text = EditBytes();
    if (!text.empty()) {
        if (nowHex) {
            SetEditBytes(BytesToHexText(text));
        } else {
            HexParseStatus status = HexParseStatus::Converted;
            const std::string plain = HexTextToText(text, status);
            if (status == HexParseStatus::BadCharacter) Boxes().Show({kCaptionError, kMsgHexInputError}, &m_window);
            else SetEditBytes(plain);
        }
        m_window.UpdateData(false);
    }
    m_converting = false;
}

void PrintTestBox::OnClearText()
{
    m_window.UpdateData(true);
    m_edit->clear();
    m_window.UpdateData(false);
}

} // namespace tallyx
