#pragma once
// "打印机状态": what the printer says of itself, item by item with a coloured indicator.
// "刷新" asks the status and the identity; every two seconds only the status is asked, as
// the identity does not change and a printer that does not know GS I would hold the window
// a reply bound each time. A query waits at most one reply bound on a silent printer, and
// none is made while the cutter run uses the link.
#include <QDialog>

#include <array>

class QCheckBox;
class QLabel;
class QPushButton;
class QTimer;

namespace tallyx {

class Link;
class CutterRun;
struct StatusReport;

class StatusWindow : public QDialog {
    Q_OBJECT
public:
    static constexpr size_t kItems = 10;
    static constexpr int kAutoRefreshMs = 2000;

    StatusWindow(Link& link, CutterRun& run, QWidget* parent = nullptr);

    QLabel* Value(size_t item) const { return m_rows[item].value; }
    QLabel* Indicator(size_t item) const { return m_rows[item].indicator; }
    QLabel* Line() const { return m_line; }
    QPushButton* RefreshButton() const { return m_refresh; }
    QCheckBox* AutoRefreshBox() const { return m_auto; }

public slots:
    void Refresh();
    void RefreshStatus();

private:
    enum class Tone { Good, Warn, Bad, Unknown };
    struct Row {
        QLabel* indicator = nullptr;
        QLabel* value = nullptr;
    };
    void SetRow(size_t item, Tone tone, const QString& text);
    void SetLine(const QString& text);
    void Query(bool withIdentity);
    void ShowReport(const StatusReport& report, bool withIdentity);
    void ClearRows();

    Link& m_link;
    CutterRun& m_run;
    std::array<Row, kItems> m_rows{};
    QLabel* m_line;
    QPushButton* m_refresh;
    QCheckBox* m_auto;
    QTimer* m_timer;
};

// Opens the owner's status window (one per owner), or brings it to the front.
StatusWindow* ShowStatusWindow(QWidget* owner, Link& link, CutterRun& run);

} // namespace tallyx
