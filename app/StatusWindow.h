#pragma once
// "打印机状态": what the printer says of itself, item by item with a coloured indicator.
// "刷新" asks the status and the identity; every two seconds (on from the start) only the
// status is asked, as the identity does not change. The reads run on the window's sender,
// one at a time, never while the cutter run uses the link.
#include <QDialog>

#include <array>

class QCheckBox;
class QLabel;
class QPushButton;
class QTimer;

namespace tallyx {

class Sender;
class CutterRun;
struct StatusReport;

class StatusWindow : public QDialog {
    Q_OBJECT
public:
    static constexpr size_t kItems = 10;
    static constexpr int kAutoRefreshMs = 2000;

    StatusWindow(Sender& sender, CutterRun& run, QWidget* parent = nullptr);

    QLabel* Value(size_t item) const { return m_rows[item].value; }
    QLabel* Indicator(size_t item) const { return m_rows[item].indicator; }
    QLabel* Line() const { return m_line; }
    QPushButton* RefreshButton() const { return m_refresh; }
    QCheckBox* AutoRefreshBox() const { return m_auto; }

public slots:
    void Refresh();
    void RefreshStatus();

protected:
    void hideEvent(QHideEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    enum class Tone { Good, Warn, Bad, Unknown };
    struct Row {
        QLabel* indicator = nullptr;
        QLabel* value = nullptr;
    };
    void SetRow(size_t item, Tone tone, const QString& text);
    void SetLine(const QString& text);
    void Query(bool withIdentity);
    void ShowAnswer(const StatusReport& report, bool withIdentity);
    void ShowReport(const StatusReport& report, bool withIdentity);
    void ClearRows();

    Sender& m_sender;
    bool m_asking = false;   // a read is under way
    CutterRun& m_run;
    std::array<Row, kItems> m_rows{};
    QLabel* m_line;
    QPushButton* m_refresh;
    QCheckBox* m_auto;
    QTimer* m_timer;
};

// Opens the owner's status window (one per owner), or brings it to the front.
StatusWindow* ShowStatusWindow(QWidget* owner, Sender& sender, CutterRun& run);

} // namespace tallyx
