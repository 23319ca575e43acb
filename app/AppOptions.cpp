#include "app/AppOptions.h"

#include "vprinter/web/LivePage.h"

namespace tallyx {

const char* const kAppHelp =
    "Usage: tallyx [OPTION]...\n"
    "Sets up and tests a thermal receipt printer on a serial port, USB or the network.\n"
    "\n"
    "Options:\n"
    "  --virtual-printer  start a virtual printer on 127.0.0.1 and a pseudo-terminal, and show\n"
    "                     its paper in a window beside the main window\n"
    "  --http [HOST:]PORT\n"
    "                     with --virtual-printer: also serve a live web page of its roll on\n"
    "                     PORT (on 127.0.0.1 unless HOST is given)\n"
    "  --log FILE         append one JSON line per command handed to the link (time, link,\n"
    "                     target, bytes in hex, length, outcome) to FILE\n"
    "  --help             show this help and exit\n"
    "  --version          show the version and exit\n"
    "\n"
    "Right-click the main window for the About box and the send log.\n";

AppOptions ParseAppOptions(const std::vector<std::string>& args)
{
    AppOptions options;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--virtual-printer") options.virtualPrinter = true;
        else if (a == "--help" || a == "-h") options.help = true;
        else if (a == "--version") options.version = true;
        else if (a.rfind("--log=", 0) == 0) options.logPath = a.substr(6);
        else if (a.rfind("--http=", 0) == 0) options.http = a.substr(7);
        else if (a == "--http") {
            if (i + 1 == args.size()) options.error = "--http: [HOST:]PORT is needed";
            else options.http = args[++i];
        }
        else if (a == "--log") {
            if (i + 1 == args.size()) options.error = "--log: a file name is needed";
            else options.logPath = args[++i];
        }
        if (a.rfind("--log", 0) == 0 && options.logPath.empty() && options.error.empty())
            options.error = "--log: a file name is needed";
    }
    if (!options.http.empty() && options.error.empty()) {
        if (!options.virtualPrinter) options.error = "--http: only with --virtual-printer";
        else if (!vprinter::ParseHttpAddress(options.http, options.httpHost, options.httpPort))
            options.error = "--http: expected [HOST:]PORT, got " + options.http;
    }
    return options;
}

} // namespace tallyx
