#include "app/VirtualPrinterWindow.h"

#include <QEvent>
#include <QFileDialog>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QVBoxLayout>
#include <algorithm>

#include "app/ReceiptView.h"
#include "res/Combos.h"
#include "res/Messages.h"
#include "ui/QtText.h"
#include "vprinter/VirtualPrinter.h"
#include "vprinter/interpret/PrinterTexts.h"
#include "vprinter/render/ReceiptRenderer.h"

namespace tallyx {

namespace {
constexpr int kMargin = 8;
constexpr int kGap = 8;                  // between the main window and this one
constexpr QSize kWanted{440, 700};       // frame included
constexpr QSize kFrameAllowance{8, 34};  // a window manager's border and title bar
constexpr char kLoopback[] = "127.0.0.1";
} // namespace

QString RollTitle(const std::string& host, uint16_t tcpPort, const std::string& ptyPath)
{
    return QString::fromStdString(vprinter::RollTitleText(host, tcpPort, ptyPath));
}

QString EmptyRollHint(const std::string& host, uint16_t tcpPort, const std::string& ptyPath,
                      const std::string& page)
{
    QStringList ways;
    if (tcpPort)
        ways << ToQString(kRollHintTcp)
                    .arg(ToQString(combo::kPorts[combo::kPortEthernetIndex].item),
                         QString::fromStdString(host) + ':' + QString::number(tcpPort));
    if (!ptyPath.empty()) ways << ToQString(kRollHintPty).arg(QString::fromStdString(ptyPath));
    QString hint = ToQString(kRollHint).arg(ways.join(ToQString(kRollHintOr)), ToQString(kConnectCaption));
    if (!page.empty()) hint += '\n' + ToQString(kRollHintPage).arg(QString::fromStdString(page));
    return hint;
}

QRect PlaceBeside(const QRect& main, const QRect& screen, QSize size)
{
    size = size.boundedTo(screen.size());
    int x;
    if (main.right() + kGap + size.width() <= screen.right()) x = main.right() + 1 + kGap;
    else if (main.left() - kGap - size.width() >= screen.left()) x = main.left() - kGap - size.width();
    else x = main.right() + 1 - size.width();   // over the main window's right-hand side
    x = std::clamp(x, screen.left(), screen.right() + 1 - size.width());
    const int y = std::clamp(main.top(), screen.top(), screen.bottom() + 1 - size.height());
    return {QPoint(x, y), size};
}

QPoint MakeRoomBeside(const QRect& main, const QRect& screen, QSize size)
{
    const bool roomRight = main.right() + kGap + size.width() <= screen.right();
    const bool roomLeft = main.left() - kGap - size.width() >= screen.left();
    const int pairWidth = main.width() + kGap + size.width();
    if (roomRight || roomLeft || pairWidth > screen.width()) return main.topLeft();
    return {screen.left() + (screen.width() - pairWidth) / 2, main.top()};
}

QSize VirtualPrinterWindow::WantedFrame()
{
    return kWanted;
}

VirtualPrinterWindow::VirtualPrinterWindow(vprinter::VirtualPrinter& printer, QWidget* parent)
    : QMainWindow(parent), m_printer(printer), m_scroll(new QScrollArea(this)), m_roll(new QWidget),
      m_rollLayout(new QVBoxLayout(m_roll))
{
    setWindowTitle(RollTitle(kLoopback, printer.TcpPort(), printer.PtyPath()));
    setAccessibleName(windowTitle());
    m_rollLayout->setContentsMargins(kMargin, kMargin, kMargin, kMargin);
    m_rollLayout->setSpacing(kGap);
    m_rollLayout->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    m_hint = new QLabel(EmptyRollHint(kLoopback, printer.TcpPort(), printer.PtyPath(), printer.PageAddress()));
    m_hint->setWordWrap(true);
    m_hint->setMinimumWidth(vprinter::kPaper58Dots);   // as wide as the paper that replaces it
    m_hint->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_hint->setForegroundRole(QPalette::BrightText);
    m_hint->setAccessibleName(m_hint->text());
    m_rollLayout->addWidget(m_hint);
    m_rollLayout->addStretch();
    m_scroll->setWidget(m_roll);
    m_scroll->setWidgetResizable(true);
    m_scroll->setBackgroundRole(QPalette::Dark);
    m_scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setCentralWidget(m_scroll);
    resize(kWanted - kFrameAllowance);
    m_scroll->viewport()->installEventFilter(this);
    BuildStatusMenu();

    // Follow the paper as it comes out, unless the operator has scrolled up to read.
    QScrollBar* bar = m_scroll->verticalScrollBar();
    connect(bar, &QScrollBar::valueChanged, this, [this, bar](int value) { m_follow = value >= bar->maximum(); });
    connect(bar, &QScrollBar::rangeChanged, this, [this, bar](int, int max) {
        if (m_follow) bar->setValue(max);
    });

    connect(this, &VirtualPrinterWindow::PrinterChanged, this, &VirtualPrinterWindow::OnPrinterChanged,
            Qt::QueuedConnection);
    // On the printer's thread, under its lock: nothing prints while this runs, so a receipt
    // just finished is still the printer's last one when it is read here.
    m_printer.SetChangedCallback([this] {
        QStringList lines;
        for (const std::string& line : m_printer.LastReceiptText()) lines << QString::fromStdString(line);
        emit PrinterChanged(m_printer.ReceiptsFinished(), m_printer.CurrentReceipt(), lines,
                            QString::fromStdString(m_printer.LastVoiceLine()));
    });
}

VirtualPrinterWindow::~VirtualPrinterWindow()
{
    m_printer.SetChangedCallback({});
}

void VirtualPrinterWindow::BuildStatusMenu()
{
    m_statusMenu = menuBar()->addMenu(ToQString(kRollStatusMenu));
    m_statusMenu->setAccessibleName(ToQString(kRollStatusName));
    const vprinter::DeviceStatus now = m_printer.Status();
    for (const vprinter::StatusCondition& c : vprinter::kStatusConditions) {
        QAction* action = m_statusMenu->addAction(ToQString(c.label));
        action->setCheckable(true);
        action->setChecked(now.*c.field);
        connect(action, &QAction::toggled, this, &VirtualPrinterWindow::OnStatusToggled);
        m_conditions << action;
    }
    // The live page may have switched them since.
    connect(m_statusMenu, &QMenu::aboutToShow, this, [this] {
        const vprinter::DeviceStatus status = m_printer.Status();
        for (int i = 0; i < m_conditions.size(); ++i) {
            const QSignalBlocker quiet(m_conditions[i]);
            m_conditions[i]->setChecked(status.*vprinter::kStatusConditions[size_t(i)].field);
        }
    });
}

void VirtualPrinterWindow::OnStatusToggled()
{
    vprinter::DeviceStatus status;
    for (int i = 0; i < m_conditions.size(); ++i)
        status.*vprinter::kStatusConditions[size_t(i)].field = m_conditions[i]->isChecked();
    m_printer.SetStatus(status);
}

void VirtualPrinterWindow::PlaceNextTo(const QRect& mainFrame, const QRect& screen)
{
    const QRect frame = PlaceBeside(mainFrame, screen, kWanted);
    resize(frame.size() - kFrameAllowance);
    move(frame.topLeft());
}

void VirtualPrinterWindow::OnPrinterChanged(int finished, const QImage& image, const QStringList& lines,
                                            const QString& voice)
{
    // What the voice chip said stands in a line under the roll.
    if (!voice.isEmpty() && statusBar()->currentMessage() != voice) statusBar()->showMessage(voice);
    if (finished > m_finishedSeen) {
        m_finishedSeen = finished;
        AddReceipt(image, lines);
        SetGrowing({});
        return;
    }
    SetGrowing(image);
}

ReceiptView* VirtualPrinterWindow::NewView()
{
    auto* view = new ReceiptView(++m_numbered, m_roll);
    view->SetAvailableWidth(m_scroll->viewport()->width() - 2 * kMargin);
    connect(view, &ReceiptView::SaveRequested, this, &VirtualPrinterWindow::OnSave);
    connect(view, &ReceiptView::ClearRequested, this, &VirtualPrinterWindow::ClearRoll);
    // Before the stretch at the end.
    m_rollLayout->insertWidget(m_rollLayout->count() - 1, view, 0, Qt::AlignHCenter);
    m_hint->hide();
    return view;
}

void VirtualPrinterWindow::AddReceipt(const QImage& image, const QStringList& lines)
{
    // The growing receipt becomes this one, keeping its number and place.
    ReceiptView* view = m_growing ? m_growing : NewView();
    m_growing = nullptr;
    view->SetPaper(image, lines, true, image.text(QString::fromLatin1(vprinter::kCutText)) == QLatin1String(vprinter::kCutPartial));
    m_finished << view;
}

void VirtualPrinterWindow::SetGrowing(const QImage& image)
{
    if (image.isNull()) {
        if (m_growing) {
            --m_numbered;
            delete m_growing;
            m_growing = nullptr;
        }
        m_hint->setVisible(m_finished.isEmpty());
        return;
    }
    if (!m_growing) m_growing = NewView();
    m_growing->SetPaper(image, {}, false);
}

void VirtualPrinterWindow::ClearRoll()
{
    qDeleteAll(m_finished);
    m_finished.clear();
    m_hint->setVisible(!m_growing);
    m_follow = true;
}

QList<ReceiptView*> VirtualPrinterWindow::Receipts() const
{
    QList<ReceiptView*> all = m_finished;
    if (m_growing) all << m_growing;
    return all;
}

QImage VirtualPrinterWindow::ShownImage() const
{
    const QList<ReceiptView*> all = Receipts();
    return all.isEmpty() ? QImage() : all.back()->Image();
}

bool VirtualPrinterWindow::SaveReceipt(const ReceiptView& view, const QString& path)
{
    return !view.Image().isNull() && vprinter::SaveReceiptPicture(view.Image(), path.toStdString());
}

void VirtualPrinterWindow::OnSave(ReceiptView* view)
{
    const QString suggested = QString("receipt-%1.png").arg(view->Number(), 4, 10, QChar('0'));
    const QString path = QFileDialog::getSaveFileName(this, ToQString(kRollSaveCaption), suggested,
                                                      ToQString(kRollSaveFilter));
    if (path.isEmpty()) return;
    if (!SaveReceipt(*view, path))
        QMessageBox::warning(this, ToQString(kRollSaveCaption), ToQString(kRollSaveFailed).arg(path));
}

bool VirtualPrinterWindow::eventFilter(QObject* watched, QEvent* event)
{
    // The paper follows the width the scroll area really has, once its layout is done.
    if (watched == m_scroll->viewport() && event->type() == QEvent::Resize) FitWidths();
    return QMainWindow::eventFilter(watched, event);
}

void VirtualPrinterWindow::FitWidths()
{
    const int width = m_scroll->viewport()->width() - 2 * kMargin;
    for (ReceiptView* view : Receipts()) view->SetAvailableWidth(width);
}

} // namespace tallyx
