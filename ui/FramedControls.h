#pragma once
// The main window's flat buttons and group frames, painted here: a style sheet on the window
// would restyle every one of its hundred-odd widgets and slow its start.
//   flat button: a one-pixel shadow border (highlight with the focus), the button colour
//                inside (mid while pressed), the label centred;
//   group frame: a one-pixel mid-coloured border from half a line down, its title on the
//                border's top line six pixels in, the line stopping four pixels either side.
#include <QObject>

class QGroupBox;
class QPushButton;

namespace tallyx {

class FramePainter : public QObject {
public:
    using QObject::QObject;
    // From now on the widget is painted here.
    void Take(QWidget* widget);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

void PaintFlatButton(QPushButton& button);
void PaintGroupFrame(QGroupBox& frame);

} // namespace tallyx
