#pragma once
// "Cutter Check" (template 138): the cutter endurance test. The run itself belongs to the
// main window, so a run left going by Esc outlives the dialog; the close box stops it.
#include <cstdint>

#include "jobs/CutterRun.h"
#include "dialogs/CTemplateDlg.h"

class QLabel;
class QLineEdit;

namespace tallyx {

class CCutterCheckDlg : public CTemplateDlg {
    Q_OBJECT
public:
    // host: the main window, whose port text chooses how the cycles travel.
    CCutterCheckDlg(CutterRun& run, Sender& sender, QWidget* parent);

    // save: the edits into the run's count and delay (false at the first field that is
    // not an unsigned number, which keeps its value); otherwise the values into the edits.
    bool UpdateData(bool save);

public slots:
    void OnStartTest();

protected:
    // The close box: the run started from this opening stops after its cycle in progress.
    void closeEvent(QCloseEvent* event) override;

private:
    void OnInitDialog();
    void StopTestAndClose();
    void ShowProgress(const CutProgress& progress);
    bool ReadField(QLineEdit* edit, std::atomic<uint32_t>& value);

    CutterRun& m_run;
    QLineEdit* m_countEdit;
    QLineEdit* m_delayEdit;
    QLabel* m_progress;
    bool m_startedHere = false;
};

} // namespace tallyx
