#include "app/VirtualPrinterWindow.h"

#include <QLabel>
#include <QPixmap>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

#include "vprinter/PrinterTexts.h"
#include "vprinter/VirtualPrinter.h"

namespace tallyx {

namespace {
constexpr int kMargin = 8;
}

VirtualPrinterWindow::VirtualPrinterWindow(vprinter::VirtualPrinter& printer, QWidget* parent)
    : QWidget(parent), m_printer(printer), m_scroll(new QScrollArea(this)), m_paper(new QLabel)
{
    setWindowTitle(QString::fromUtf8(vprinter::kVirtualPrinterWindowTitle.data(),
                                     qsizetype(vprinter::kVirtualPrinterWindowTitle.size())));
    m_paper->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    m_paper->setContentsMargins(kMargin, kMargin, kMargin, kMargin);
    m_scroll->setWidget(m_paper);
    m_scroll->setWidgetResizable(true);
    m_scroll->setAlignment(Qt::AlignHCenter);
    m_scroll->setBackgroundRole(QPalette::Dark);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_scroll);
    resize(420, 640);

    connect(this, &VirtualPrinterWindow::PrinterChanged, this, &VirtualPrinterWindow::Refresh, Qt::QueuedConnection);
    m_printer.SetChangedCallback([this] { emit PrinterChanged(); });
    Refresh();
}

VirtualPrinterWindow::~VirtualPrinterWindow()
{
    m_printer.SetChangedCallback({});
}

void VirtualPrinterWindow::Refresh()
{
    QImage image = m_printer.CurrentReceipt();
    if (image.cacheKey() == m_shown.cacheKey() && !image.isNull()) return;
    const bool atBottom = m_scroll->verticalScrollBar()->value() == m_scroll->verticalScrollBar()->maximum();
    m_shown = image;
    m_paper->setPixmap(image.isNull() ? QPixmap() : QPixmap::fromImage(image));
    // Follow the paper as it comes out, unless the operator has scrolled up to read.
    if (atBottom) m_scroll->verticalScrollBar()->setValue(m_scroll->verticalScrollBar()->maximum());
}

} // namespace tallyx
