#include "ui/FramedControls.h"

#include <QApplication>
#include <QEvent>
#include <QGroupBox>
#include <QPainter>
#include <QPushButton>
#include <QStyle>

namespace tallyx {

namespace {
constexpr int kTitleLeft = 6;
constexpr int kTitleClear = 4;   // the line stops this far either side of the title text
} // namespace

void FramePainter::Take(QWidget* widget) { widget->installEventFilter(this); }

bool FramePainter::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::Paint) return false;
    if (auto* button = qobject_cast<QPushButton*>(watched)) {
        PaintFlatButton(*button);
        return true;
    }
    if (auto* frame = qobject_cast<QGroupBox*>(watched)) {
        PaintGroupFrame(*frame);
        return true;
    }
    return false;
}

void PaintFlatButton(QPushButton& button)
{
    // The active colours, enabled or not: the frame of a disabled button stays as dark.
    const QPalette& pal = button.palette();
    const QRect r = button.rect();
    QPainter p(&button);
    p.fillRect(r, pal.color(QPalette::Active, button.isDown() ? QPalette::Mid : QPalette::Button));
    p.setPen(pal.color(QPalette::Active, button.hasFocus() ? QPalette::Highlight : QPalette::Shadow));
    p.drawRect(r.adjusted(0, 0, -1, -1));
    QStyle* style = button.style();
    int flags = Qt::AlignCenter | Qt::TextShowMnemonic;
    if (!style->styleHint(QStyle::SH_UnderlineShortcut, nullptr, &button)) flags |= Qt::TextHideMnemonic;
    style->drawItemText(&p, r.adjusted(1, 1, -1, -1), flags, pal, button.isEnabled(), button.text(),
                        QPalette::ButtonText);
}

void PaintGroupFrame(QGroupBox& frame)
{
    const QFontMetrics fm = frame.fontMetrics();
    const QRect titleRect(kTitleLeft, 0, fm.horizontalAdvance(frame.title()) + 2 * kTitleClear, fm.height());
    // Half a line of the application's own font, not the window's: where the frame has always stood.
    const int top = qRound(QFontMetrics(QApplication::font()).height() * 0.5);
    QPainter p(&frame);
    p.save();
    p.setClipRegion(QRegion(frame.rect()).subtracted(titleRect));
    p.setPen(frame.palette().color(QPalette::Active, QPalette::Mid));
    p.drawRect(QRect(0, top, frame.width(), frame.height() - top).adjusted(0, 0, -1, -1));
    p.restore();
    frame.style()->drawItemText(&p, titleRect.adjusted(kTitleClear, 0, -kTitleClear, 0),
                                Qt::AlignLeft | Qt::AlignVCenter, frame.palette(), frame.isEnabled(), frame.title(),
                                QPalette::WindowText);
}

} // namespace tallyx
