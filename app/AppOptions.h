#pragma once
// The window program's own command line: read before any window exists, so --help and
// --version work without a display (and help2man can read them).
#include <string>
#include <vector>

namespace tallyx {

struct AppOptions {
    bool virtualPrinter = false;   // --virtual-printer
    std::string logPath;           // --log FILE: one JSON line per command sent
    bool help = false;
    bool version = false;
    std::string error;             // a usage error, for standard error
};

// Options the toolkit takes for itself (-platform, -style...) are left to it.
AppOptions ParseAppOptions(const std::vector<std::string>& args);

extern const char* const kAppHelp;

} // namespace tallyx
