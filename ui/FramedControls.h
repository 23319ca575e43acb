#pragma once
// The main window's flat buttons and group frames, painted by themselves: a style sheet on
// the window would restyle every one of its hundred-odd widgets and slow its start.
#include <QGroupBox>
#include <QPushButton>

namespace tallyx {

// A flat button: a one-pixel shadow border (highlight with the focus), the button colour
// inside (mid while pressed), the label centred.
class FlatButton : public QPushButton {
    Q_OBJECT
public:
    FlatButton(const QString& text, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
};

// A group frame: a one-pixel mid-coloured border from half a line down, its title on the
// border's top line six pixels in, with two pixels clear either side.
class GroupFrame : public QGroupBox {
    Q_OBJECT
public:
    GroupFrame(const QString& title, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace tallyx
