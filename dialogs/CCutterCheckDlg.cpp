#include "dialogs/CCutterCheckDlg.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>

#include "ui/DataExchange.h"
#include "ui/MessageBoxes.h"
#include "commands/CutCycle.h"
#include "jobs/CycleDelivery.h"
#include "res/CutterIds.h"
#include "res/DialogTemplate.h"
#include "res/Messages.h"

namespace tallyx {

CCutterCheckDlg::CCutterCheckDlg(CutterRun& run, Sender& sender, QWidget* parent)
    : CTemplateDlg(sender, parent, CutterTemplate(), OkCommand::DoesNothing), m_run(run)
{
    m_countEdit = qobject_cast<QLineEdit*>(Control(id::cutter::kCount));
    m_delayEdit = qobject_cast<QLineEdit*>(Control(id::cutter::kDelay));
    m_progress = qobject_cast<QLabel*>(Control(id::cutter::kProgress));
    ConnectButtons<CCutterCheckDlg>({{id::cutter::kStart, &CCutterCheckDlg::OnStartTest}});
    OnInitDialog();
}

void CCutterCheckDlg::OnInitDialog()
{
    // A run left going by an earlier opening ends after its current cycle.
    m_run.RequestStop();
    m_run.g_cutCount = kCutCountDefault;
    m_run.g_cutDelayMs = kCutDelayDefaultMs;
    m_startedHere = false;
    UpdateData(false);
}

bool CCutterCheckDlg::ReadField(QLineEdit* edit, std::atomic<uint32_t>& value)
{
    const auto number = ReadUnsignedField(edit, this);
    if (!number) return false;
    value = *number;
    return true;
}

bool CCutterCheckDlg::UpdateData(bool save)
{
    if (save) return ReadField(m_countEdit, m_run.g_cutCount) && ReadField(m_delayEdit, m_run.g_cutDelayMs);
    m_countEdit->setText(QString::number(m_run.g_cutCount.load()));
    m_delayEdit->setText(QString::number(m_run.g_cutDelayMs.load()));
    return true;
}

void CCutterCheckDlg::OnStartTest()
{
    UpdateData(true);   // a running test takes the new count and delay from its next cycle
    if (m_run.Running() && !m_run.StopRequested()) return;
    if (!m_sender.CheckPortHandle()) return;   // the link shows why
    if (const auto refusal = CheckCutterSettings(m_run.g_cutCount, m_run.g_cutDelayMs))
        return Boxes().Show(*refusal, this);

    FixedTarget target = m_sender.GetLink().CaptureTarget();
    // The worker only posts: the line is written on this thread, if the dialog is still open.
    QObject* receiver = QCoreApplication::instance();
    const QPointer<CCutterCheckDlg> self(this);
    auto progress = [receiver, self](const CutProgress& p) {
        QMetaObject::invokeMethod(receiver, [self, p] { if (self) self->ShowProgress(p); }, Qt::QueuedConnection);
    };
    // Refused while a stopped run still finishes its cycle: never two runs at once.
    if (m_run.Start(MakeCycleDelivery(m_sender.GetLink(), std::move(target)), progress)) m_startedHere = true;
}

void CCutterCheckDlg::ShowProgress(const CutProgress& p)
{
    QString line = ToQString(kTextCutSent) + QStringLiteral("%1/%2").arg(p.sent).arg(p.count);
    if (p.ended) {
        line.prepend(ToQString(p.stopped ? kTextCutStopped : kTextCutDone));
        if (p.failures) line += ToQString(kTextCutFailed) + QString::number(p.failures) + ToQString(kTextCutTimes);
    }
    // Read by what it shows: the progress, not the word "进度".
    m_progress->setText(line);
    m_progress->setAccessibleName(line);
}

void CCutterCheckDlg::StopTestAndClose()
{
    if (m_startedHere) m_run.RequestStop();
    done(QDialog::Rejected);
}

void CCutterCheckDlg::closeEvent(QCloseEvent* event)
{
    StopTestAndClose();
    event->accept();
}

} // namespace tallyx
