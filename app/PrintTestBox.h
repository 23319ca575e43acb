#pragma once
// The main window's print-test box: Send, the " HEX" check box and Clear. The box's text
// stands for bytes; the conversions between text, hexadecimal and bytes lose none of them.
#include <QObject>
#include <string>

class QCheckBox;
class QPlainTextEdit;

namespace tallyx {

class CPosToolDlg;
class Link;

class PrintTestBox : public QObject {
    Q_OBJECT
public:
    PrintTestBox(CPosToolDlg& window, Link& link, QPlainTextEdit* edit, QCheckBox* hex);

    // The box's text as the bytes the printer is to get, and back.
    std::string EditBytes() const;
    void SetEditBytes(const std::string& bytes);

public slots:
    void OnSendText();
    void OnHexMode();
    void OnClearText();

private:
    CPosToolDlg& m_window;
    Link& m_link;
    QPlainTextEdit* m_edit;
    QCheckBox* m_hex;
    bool m_converting = false;
};

} // namespace tallyx
