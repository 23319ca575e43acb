// The print-test box: Send, the " HEX" check box and Clear.
#include <QCheckBox>
#include <QPlainTextEdit>

#include "app/CPosToolDlg.h"
#include "commands/Gbk.h"
#include "commands/Hex.h"
#include "commands/PrintTest.h"
#include "res/Messages.h"
#include "ui/MessageBoxes.h"

namespace tallyx {

std::string CPosToolDlg::EditBytes() const
{
    // The box holds its line breaks as CR LF, as the printer is to get them.
    QString text = m_printText->toPlainText();
    text.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    return Utf8ToGbk(ToUtf8(text));
}

void CPosToolDlg::SetEditBytes(const std::string& gbk)
{
    QString text = ToQString(GbkToUtf8(gbk));
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    m_printText->setPlainText(text);
}

void CPosToolDlg::OnSendText()
{
    UpdateData(true);
    const bool hexMode = m_hex->isChecked();
    if (!m_link.CheckPortHandle()) return;
    const Result result = BuildPrintTestCommand(EditBytes(), hexMode);
    if (const Message* refusal = result.refusal()) return Boxes().Show(*refusal, this);
    const Bytes& data = result.bytes();
    m_link.DeliverRepeated(PortText(), data.data(), data.size(), g_sendCount, Delivery::Posted);
}

void CPosToolDlg::OnHexMode()
{
    UpdateData(true);
    const bool nowHex = m_hex->isChecked();
    const std::string text = EditBytes();
    if (text.empty()) return;
    if (nowHex) {
        SetEditBytes(BytesToHexText(text));
    } else {
        HexParseStatus status = HexParseStatus::Converted;
        const std::string plain = HexTextToText(text, status);
        if (status == HexParseStatus::BadCharacter) Boxes().Show({kCaptionError, kMsgHexInputError}, this);
        else SetEditBytes(plain);
    }
    UpdateData(false);
}

void CPosToolDlg::OnClearText()
{
    UpdateData(true);
    m_printText->clear();
    UpdateData(false);
}

} // namespace tallyx
