#include "ui/BitmapPreview.h"

#include <QImageReader>
#include <QPainter>

namespace tallyx {

namespace {
// A header may claim any size; a preview has no use for more than this.
constexpr int kPreviewAllocationLimitMb = 64;
} // namespace

BitmapPreview::BitmapPreview(QWidget* parent) : QFrame(parent)
{
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(1);
    QPalette black = palette();
    black.setColor(QPalette::WindowText, Qt::black);
    setPalette(black);
}

void BitmapPreview::SetPicture(const QImage& picture)
{
    m_picture = picture;
    update();
}

void BitmapPreview::paintEvent(QPaintEvent* event)
{
    QFrame::paintEvent(event);
    if (m_picture.isNull()) return;
    // The whole picture fills the frame, its aspect ratio not kept, dots not blended.
    QPainter painter(this);
    painter.drawImage(contentsRect(), m_picture);
}

QImage LoadPreviewPicture(const QString& path)
{
    // Any picture the readers know, upright as its orientation tag says.
    QImageReader reader(path);
    reader.setAutoTransform(true);
    reader.setAllocationLimit(kPreviewAllocationLimitMb);
    return reader.read();
}

} // namespace tallyx
