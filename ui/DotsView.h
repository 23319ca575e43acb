#pragma once
// A picture's dots at one screen pixel a dot, scrolled when larger than the view: the
// operator sees the dithering as the head will print it.
#include <QScrollArea>

#include "commands/Picture.h"

class QLabel;

namespace tallyx {

class DotsView : public QScrollArea {
public:
    explicit DotsView(QWidget* parent);

    void SetDots(const DotPicture& dots);
    // What is shown, for tests and screenshots.
    QImage Shown() const;

private:
    QLabel* m_label;
};

} // namespace tallyx
