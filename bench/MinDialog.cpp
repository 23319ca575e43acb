// The start-up peer of tallyx: the least a Qt 6 Widgets program shows, one dialog with a button.
#include <QApplication>
#include <QDialog>
#include <QPushButton>
#include <QVBoxLayout>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QDialog dialog;
    dialog.setWindowTitle("peer");
    auto* layout = new QVBoxLayout(&dialog);
    auto* button = new QPushButton("OK", &dialog);
    layout->addWidget(button);
    QObject::connect(button, &QPushButton::clicked, &dialog, &QDialog::accept);
    dialog.show();
    return app.exec();
}
