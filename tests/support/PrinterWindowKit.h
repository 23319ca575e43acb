#pragma once
// What the virtual printer window tests share: a printer that does not listen, and an
// event loop run until something has happened.
#include <QApplication>
#include <QElapsedTimer>

#include "vprinter/VirtualPrinter.h"

namespace tallyx::test {

inline vprinter::VirtualPrinterOptions Quiet()
{
    vprinter::VirtualPrinterOptions o;
    o.listen = false;
    return o;
}

// Runs the event loop until `done` or five seconds.
template <typename Pred>
bool ProcessUntil(Pred done)
{
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < 5000) QApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
}

} // namespace tallyx::test
