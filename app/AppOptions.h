#pragma once
// The window program's own command line: read before any window exists, so --help and
// --version work without a display (and help2man can read them).
#include <cstdint>
#include <string>
#include <vector>

namespace tallyx {

struct AppOptions {
    bool virtualPrinter = false;   // --virtual-printer
    std::string logPath;           // --log FILE: one JSON line per command sent
    std::string http;              // --http [HOST:]PORT: the virtual printer's live page
    std::string httpHost;          // ... as read from it
    uint16_t httpPort = 0;
    bool help = false;
    bool version = false;
    std::string error;             // a usage error, for standard error
};

// Options the toolkit takes for itself (-platform, -style...) are left to it.
AppOptions ParseAppOptions(const std::vector<std::string>& args);

extern const char* const kAppHelp;

} // namespace tallyx
