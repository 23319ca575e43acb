#pragma once
// "发送记录": the send log's lines, newest last, with Copy and Clear. It reads the store
// on a timer, so lines recorded by the cutter run's worker show up without that thread
// touching the window.
#include <QDialog>

class QPlainTextEdit;
class QPushButton;
class QTimer;

namespace tallyx {

class SendLogStore;

class SendLogWindow : public QDialog {
    Q_OBJECT
public:
    explicit SendLogWindow(SendLogStore& store, QWidget* parent = nullptr);

    QPlainTextEdit* Text() const { return m_text; }
    QPushButton* CopyButton() const { return m_copy; }
    QPushButton* ClearButton() const { return m_clear; }

public slots:
    void Refresh();
    void OnCopy();
    void OnClear();

private:
    SendLogStore& m_store;
    size_t m_shownGeneration = size_t(-1);
    QPlainTextEdit* m_text;
    QPushButton* m_copy;
    QPushButton* m_clear;
    QTimer* m_timer;
};

// Opens the owner's send log window (one per owner), or brings it to the front.
SendLogWindow* ShowSendLogWindow(QWidget* owner);

} // namespace tallyx
