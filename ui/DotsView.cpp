#include "ui/DotsView.h"

#include <QLabel>
#include <QPixmap>

#include "decode/DotsImage.h"

namespace tallyx {

DotsView::DotsView(QWidget* parent) : QScrollArea(parent), m_label(new QLabel)
{
    m_label->setAlignment(Qt::AlignCenter);
    setWidget(m_label);
    setWidgetResizable(true);
    setAlignment(Qt::AlignCenter);
    // Paper around the dots, so the picture's own white edge is seen as paper too.
    setBackgroundRole(QPalette::Base);
}

void DotsView::SetDots(const DotPicture& dots)
{
    m_label->setPixmap(QPixmap::fromImage(DotsImage(dots)));
}

QImage DotsView::Shown() const
{
    return m_label->pixmap().toImage();
}

} // namespace tallyx
