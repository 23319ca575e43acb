#pragma once
// The main window's print-test box: Send, the " HEX" check box and Clear. The box's text
// stands for bytes; the conversions between text, hexadecimal and bytes lose none of them.
#include <QObject>
#include <string>

class QCheckBox;
class QPlainTextEdit;

namespace tallyx {

class CPosToolDlg;
class Sender;

class PrintTestBox : public QObject {
    Q_OBJECT
public:
    PrintTestBox(CPosToolDlg& window, Sender& sender, QPlainTextEdit* edit, QCheckBox* hex);

    // The box's text as the bytes the printer is to get, and back.
    std::string EditBytes() const;
    void SetEditBytes(const std::string& bytes);

public slots:
    void OnSendText();
    void OnHexMode();
    void OnClearText();

private:
    CPosToolDlg& m_window;
    Sender& m_sender;
    QPlainTextEdit* m_edit;
    QCheckBox* m_hex;
    bool m_converting = false;
};

} // namespace tallyx
