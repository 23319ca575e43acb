#include "ui/MessageBoxes.h"

#include <QMessageBox>

#include "ui/QtText.h"

namespace tallyx {

namespace {
class RealBoxes : public MessageBoxes {
public:
    void Show(const Message& message, QWidget* owner) override
    {
        QMessageBox box(QMessageBox::NoIcon, ToQString(message.caption), ToQString(message.text),
                        QMessageBox::Ok, owner);
        box.exec();
    }
};

RealBoxes g_realBoxes;
MessageBoxes* g_boxes = &g_realBoxes;
} // namespace

MessageBoxes& Boxes() { return *g_boxes; }

void InstallBoxes(MessageBoxes* boxes) { g_boxes = boxes ? boxes : &g_realBoxes; }

} // namespace tallyx
