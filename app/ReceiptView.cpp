#include "app/ReceiptView.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QPainter>

#include "res/Messages.h"
#include "ui/QtText.h"

namespace tallyx {

namespace {
constexpr int kTearHeight = 12;   // room below a cut receipt for its tear line
constexpr int kTooth = 6;         // the tear line's zigzag step
} // namespace

ReceiptView::ReceiptView(int number, QWidget* parent) : QWidget(parent), m_number(number)
{
    setAccessibleName(ToQString(kRollReceiptName).arg(number));
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setFocusPolicy(Qt::TabFocus);
}

void ReceiptView::SetPaper(const QImage& image, const QStringList& lines, bool cut, bool partial)
{
    m_image = image;
    m_lines = lines;
    m_cut = cut;
    m_partial = partial;
    QString name = ToQString(kRollReceiptName).arg(m_number);
    if (!cut) name += ' ' + ToQString(kRollPrinting);
    setAccessibleName(name);
    setAccessibleDescription(lines.join('\n'));
    setFixedSize(sizeHint());
    update();
}

void ReceiptView::SetAvailableWidth(int width)
{
    if (width == m_available) return;
    m_available = width;
    setFixedSize(sizeHint());
    update();
}

QSize ReceiptView::PaperSize() const
{
    if (m_image.isNull()) return {0, 0};
    const int w = m_image.width();
    // 1:1 when the paper fits; narrower windows get every dot at a smaller, fixed size.
    if (m_available <= 0 || m_available >= w) return m_image.size();
    return {m_available, int(qint64(m_image.height()) * m_available / w)};
}

QSize ReceiptView::sizeHint() const
{
    const QSize paper = PaperSize();
    return {paper.width(), paper.height() + (m_cut ? kTearHeight : 0)};
}

void ReceiptView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QSize paper = PaperSize();
    if (!m_image.isNull()) {
        // Nearest neighbour: a thermal dot stays one sharp square at any width.
        const QImage shown = paper == m_image.size() ? m_image : m_image.scaled(paper, Qt::IgnoreAspectRatio,
                                                                               Qt::FastTransformation);
        painter.drawImage(0, 0, shown);
    }
    if (!m_cut) return;
    // The tear: paper torn in a zigzag under the cut.
    QPolygon torn;
    torn << QPoint(0, paper.height());
    for (int x = 0, i = 0; x <= paper.width(); x += kTooth, ++i)
        torn << QPoint(x, paper.height() + (i % 2 ? kTearHeight / 2 : 0));
    torn << QPoint(paper.width(), paper.height());
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    painter.drawPolygon(torn);
    painter.setPen(QPen(Qt::gray, 1, Qt::DashLine));
    painter.drawLine(0, paper.height() + kTearHeight - 2, paper.width(), paper.height() + kTearHeight - 2);
    if (!m_partial) return;
    // A partial cut leaves the paper joined at its middle, down to the next receipt.
    const int bridge = 2 * kTooth;
    painter.fillRect(paper.width() / 2 - bridge / 2, paper.height(), bridge, kTearHeight, Qt::white);
}

void ReceiptView::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu menu(this);
    QAction* save = menu.addAction(ToQString(kRollSavePng));
    save->setEnabled(!m_image.isNull());
    QAction* clear = menu.addAction(ToQString(kRollClear));
    QAction* chosen = menu.exec(event->globalPos());
    if (chosen == save) emit SaveRequested(this);
    else if (chosen == clear) emit ClearRequested();
}

} // namespace tallyx
