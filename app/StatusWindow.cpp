#include "app/StatusWindow.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTime>
#include <QTimer>
#include <QVBoxLayout>
#include <memory>

#include "jobs/CutterRun.h"
#include "jobs/PrinterQueries.h"
#include "link/Sender.h"
#include "link/SendLog.h"
#include "res/Messages.h"
#include "ui/QtText.h"

namespace tallyx {

namespace {
constexpr char kObjectName[] = "statusWindow";

// In the order of the rows.
constexpr std::string_view kItemLabels[StatusWindow::kItems] = {
    kStatusOnline, kStatusCover, kStatusPaper, kStatusDrawer, kStatusFeed,
    kStatusErrors, kStatusModel, kStatusFirmware, kStatusMaker, kStatusSerial,
};
enum Item : size_t { kOnline, kCover, kPaper, kDrawer, kFeed, kErrors, kModel, kFirmware, kMaker, kSerial };

} // namespace

StatusWindow::StatusWindow(Sender& sender, CutterRun& run, QWidget* parent)
    : QDialog(parent), m_sender(sender), m_run(run), m_line(new QLabel(this)),
      m_refresh(new QPushButton(ToQString(kStatusRefresh), this)), m_auto(new QCheckBox(ToQString(kStatusAutoRefresh), this)),
      m_timer(new QTimer(this))
{
    setObjectName(kObjectName);
    setWindowTitle(ToQString(kStatusTitle));
    auto* grid = new QGridLayout;
    for (size_t i = 0; i < kItems; ++i) {
        auto* label = new QLabel(ToQString(kItemLabels[i]) + QStringLiteral(":"), this);
        Row& row = m_rows[i];
        row.indicator = new QLabel(QStringLiteral("●"), this);
        row.value = new QLabel(this);
        row.value->setTextInteractionFlags(Qt::TextSelectableByMouse);
        label->setBuddy(row.value);
        grid->addWidget(row.indicator, int(i), 0);
        grid->addWidget(label, int(i), 1);
        grid->addWidget(row.value, int(i), 2);
    }
    grid->setColumnStretch(2, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_refresh);
    buttons->addWidget(m_auto);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(m_line);
    layout->addLayout(buttons);
    resize(420, 0);

    connect(m_refresh, &QPushButton::clicked, this, &StatusWindow::Refresh);
    connect(m_timer, &QTimer::timeout, this, &StatusWindow::RefreshStatus);
    connect(m_auto, &QCheckBox::toggled, this, [this](bool on) {
        if (on) m_timer->start(kAutoRefreshMs);
        else m_timer->stop();
    });
    ClearRows();
    SetLine({});
    // The reads run on the sender, so the window answers while a printer is silent.
    m_auto->setChecked(true);
}

void StatusWindow::SetRow(size_t item, Tone tone, const QString& text)
{
    static constexpr const char* kColours[] = {"#2e7d32", "#f9a825", "#c62828", "#9e9e9e"};
    static constexpr std::string_view kToneWords[] = {kToneGood, kToneWarn, kToneBad, kToneUnknown};
    Row& row = m_rows[item];
    row.indicator->setStyleSheet(QStringLiteral("color: %1;").arg(QLatin1String(kColours[size_t(tone)])));
    row.indicator->setAccessibleName(ToQString(kItemLabels[item]) + QStringLiteral(": ") + ToQString(kToneWords[size_t(tone)]));
    row.value->setText(text);
    row.value->setAccessibleName(text);   // read by what it shows
}

void StatusWindow::SetLine(const QString& text)
{
    m_line->setText(text);
    m_line->setAccessibleName(text);
}

void StatusWindow::ClearRows()
{
    for (size_t i = 0; i < kItems; ++i) SetRow(i, Tone::Unknown, ToQString(kStatusUnknown));
}

void StatusWindow::Refresh()
{
    Query(true);
}

void StatusWindow::RefreshStatus()
{
    Query(false);
}

void StatusWindow::Query(bool withIdentity)
{
    if (!m_sender.GetLink().IsConnected()) {
        ClearRows();
        return SetLine(ToQString(kStatusNotConnected));
    }
    // The run's cycles own the link: a query between them would be read as a reply to them.
    if (m_run.Running()) return SetLine(ToQString(kStatusCutterBusy));
    if (m_asking) return;   // one read at a time: the tick that finds one under way passes
    m_asking = true;
    auto report = std::make_shared<StatusReport>();
    const QPointer<StatusWindow> self(this);
    m_sender.Post(
        [report, withIdentity](Link& link, std::stop_token stop) {
            *report = ReadPrinterStatus(link, stop, withIdentity);
            return report->outcome;
        },
        [self, report, withIdentity](const Outcome&) {
            if (!self) return;
            self->m_asking = false;
            self->ShowAnswer(*report, withIdentity);
        });
}

void StatusWindow::ShowAnswer(const StatusReport& report, bool withIdentity)
{
    if (!report.ok()) {
        ClearRows();
        const LinkFault fault = report.outcome.fault;
        return SetLine(fault == LinkFault::NoReply    ? ToQString(kStatusNoReply)
                       : fault == LinkFault::BadReply ? ToQString(kStatusBadReply)
                                                      : ToQString(kStatusLinkFailed) + ToQString(OutcomeName(report.outcome)));
    }
    ShowReport(report, withIdentity);
    SetLine(ToQString(kStatusReadAt) + QTime::currentTime().toString(QStringLiteral("HH:mm:ss")));
}

void StatusWindow::ShowReport(const StatusReport& report, bool withIdentity)
{
    const PrinterStatus& s = report.status;
    SetRow(kOnline, s.offline ? Tone::Bad : Tone::Good, ToQString(s.offline ? kStatusOffline : kStatusYesOnline));
    SetRow(kCover, s.coverOpen ? Tone::Bad : Tone::Good, ToQString(s.coverOpen ? kStatusOpen : kStatusClosed));
    const Tone paperTone = s.paper == PaperLevel::Out ? Tone::Bad : s.paper == PaperLevel::NearEnd ? Tone::Warn : Tone::Good;
    const std::string_view paper = s.paper == PaperLevel::Out       ? kStatusPaperOut
                                   : s.paper == PaperLevel::NearEnd ? kStatusPaperNearEnd
                                                                    : kStatusPaperOk;
    SetRow(kPaper, paperTone, ToQString(paper));
    SetRow(kDrawer, Tone::Good, ToQString(s.drawerPinHigh ? kStatusHigh : kStatusLow));
    SetRow(kFeed, Tone::Good, ToQString(s.feedButton ? kStatusPressed : kStatusReleased));
    QStringList errors;
    if (s.cutterError) errors << ToQString(kStatusCutterError);
    if (s.unrecoverable) errors << ToQString(kStatusUnrecoverable);
    if (s.autoRecoverable) errors << ToQString(kStatusAutoRecoverable);
    SetRow(kErrors, errors.isEmpty() ? Tone::Good : Tone::Bad,
           errors.isEmpty() ? ToQString(kStatusNoErrors) : errors.join(QStringLiteral("，")));
    if (!withIdentity) return;   // the identity shown stays
    const std::pair<Item, const std::optional<std::string>*> texts[] = {
        {kModel, &report.model}, {kFirmware, &report.firmware}, {kMaker, &report.maker}, {kSerial, &report.serial}};
    for (auto [item, text] : texts)
        SetRow(item, *text ? Tone::Good : Tone::Unknown, *text ? QString::fromStdString(**text) : ToQString(kStatusNoAnswer));
}

// A closed window asks nothing of the printer.
void StatusWindow::hideEvent(QHideEvent* event)
{
    m_timer->stop();
    QDialog::hideEvent(event);
}

void StatusWindow::showEvent(QShowEvent* event)
{
    if (m_auto->isChecked() && !m_timer->isActive()) m_timer->start(kAutoRefreshMs);
    QDialog::showEvent(event);
}

StatusWindow* ShowStatusWindow(QWidget* owner, Sender& sender, CutterRun& run)
{
    auto* window = owner->findChild<StatusWindow*>(kObjectName, Qt::FindDirectChildrenOnly);
    if (!window) window = new StatusWindow(sender, run, owner);
    window->show();
    window->raise();
    window->activateWindow();
    window->Refresh();
    return window;
}

} // namespace tallyx
