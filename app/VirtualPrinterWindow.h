#pragma once
// "虚拟打印机": the virtual printer's paper as it comes out, in a scroll area.
#include <QImage>
#include <QWidget>

class QLabel;
class QScrollArea;

namespace tallyx {

namespace vprinter {
class VirtualPrinter;
}

class VirtualPrinterWindow : public QWidget {
    Q_OBJECT
public:
    // The printer must outlive the window; the window sets the printer's change callback
    // and clears it again when it is destroyed.
    explicit VirtualPrinterWindow(vprinter::VirtualPrinter& printer, QWidget* parent = nullptr);
    ~VirtualPrinterWindow() override;

    // What the window shows at the moment (for tests).
    QImage ShownImage() const { return m_shown; }

signals:
    // Emitted on a printer thread, delivered on the window's thread.
    void PrinterChanged();

private slots:
    void Refresh();

private:
    vprinter::VirtualPrinter& m_printer;
    QScrollArea* m_scroll;
    QLabel* m_paper;
    QImage m_shown;
};

} // namespace tallyx
