#pragma once
// `tallyx --virtual-printer`: a printer inside the tool, on 127.0.0.1 and on a pty.
#include <memory>

namespace tallyx {

struct AppOptions;
class CPosToolDlg;
class VirtualPrinterWindow;
namespace vprinter {
class VirtualPrinter;
}

class VirtualPrinterSetup {
public:
    VirtualPrinterSetup();
    ~VirtualPrinterSetup();

    // Starts the printer and points the main window at it: 127.0.0.1 in the printer
    // address, the pty as the last port item. False when neither link could be opened.
    // With app.http, its live page too (a page that cannot start stops the printer).
    bool Attach(CPosToolDlg& dialog, const AppOptions& app);
    // The printer's window once attached (nullptr before).
    VirtualPrinterWindow* Window() const { return m_window.get(); }

private:
    std::unique_ptr<vprinter::VirtualPrinter> m_printer;
    std::unique_ptr<VirtualPrinterWindow> m_window;
};

} // namespace tallyx
