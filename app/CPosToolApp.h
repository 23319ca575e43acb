#pragma once
// The application object: socket support, then the main window run modally.
#include <QApplication>

namespace tallyx {

struct AppOptions;

class CPosToolApp : public QApplication {
    Q_OBJECT
public:
    CPosToolApp(int& argc, char** argv);

    // Runs the program. false: socket support could not be set up and the main window
    // was never shown (the operator has been told).
    bool InitInstance(const AppOptions& options);

private:
    static bool InitSocketSupport();
    void EndOnSignals();
};

} // namespace tallyx
