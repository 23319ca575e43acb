#pragma once
// The black frame of the NV logo dialog, with the chosen picture stretched over its inside.
#include <QFrame>
#include <QImage>

namespace tallyx {

class BitmapPreview : public QFrame {
public:
    explicit BitmapPreview(QWidget* parent);

    // A null image leaves the frame empty.
    void SetPicture(const QImage& picture);
    const QImage& Picture() const { return m_picture; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage m_picture;
};

// The file as a picture for the preview, or a null image; never more than a preview needs.
QImage LoadPreviewPicture(const QString& path);

} // namespace tallyx
