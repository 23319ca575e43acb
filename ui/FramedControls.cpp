#include "ui/FramedControls.h"

#include <QApplication>
#include <QPainter>
#include <QStyle>

namespace tallyx {

namespace {
constexpr int kTitleLeft = 6;
constexpr int kTitlePadding = 2;
} // namespace

FlatButton::FlatButton(const QString& text, QWidget* parent) : QPushButton(text, parent) { setFlat(true); }

void FlatButton::paintEvent(QPaintEvent*)
{
    // The active colours, enabled or not: the frame of a disabled button stays as dark.
    const QPalette& pal = palette();
    QPainter p(this);
    p.fillRect(rect(), pal.color(QPalette::Active, isDown() ? QPalette::Mid : QPalette::Button));
    p.setPen(pal.color(QPalette::Active, hasFocus() ? QPalette::Highlight : QPalette::Shadow));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
    int flags = Qt::AlignCenter | Qt::TextShowMnemonic;
    if (!style()->styleHint(QStyle::SH_UnderlineShortcut, nullptr, this)) flags |= Qt::TextHideMnemonic;
    style()->drawItemText(&p, rect().adjusted(1, 1, -1, -1), flags, palette(), isEnabled(), text(),
                          QPalette::ButtonText);
}

GroupFrame::GroupFrame(const QString& title, QWidget* parent) : QGroupBox(title, parent) {}

void GroupFrame::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const QFontMetrics fm = fontMetrics();
    const QRect titleRect(kTitleLeft, 0, fm.horizontalAdvance(title()) + 4 * kTitlePadding, fm.height());
    // Half a line of the application's own font, not the window's: where the frame has always stood.
    const int top = qRound(QFontMetrics(QApplication::font()).height() * 0.5);
    p.save();
    p.setClipRegion(QRegion(rect()).subtracted(titleRect));
    p.setPen(palette().color(QPalette::Active, QPalette::Mid));
    p.drawRect(QRect(0, top, width(), height() - top).adjusted(0, 0, -1, -1));
    p.restore();
    style()->drawItemText(&p, titleRect.adjusted(2 * kTitlePadding, 0, -2 * kTitlePadding, 0), Qt::AlignLeft | Qt::AlignVCenter,
                          palette(), isEnabled(), title(), QPalette::WindowText);
}

} // namespace tallyx
