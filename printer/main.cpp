// tallyx-printer: receipt printers as IPP Everywhere printers, on PAPPL's main loop and its
// sub-commands (server, add, drivers, devices, printers, submit, shutdown, ...).
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>

#include "printer/Drivers.h"
#include "printer/JobSettings.h"
#include "res/Version.h"

namespace {

using namespace tallyx::printer;

constexpr int kDefaultPort = 8631;
constexpr int kIdlePollSeconds = 5;
constexpr int kAdvertiseSeconds = 1;

// PAPPL 1.3 advertises a printer over DNS-SD when the application starts, but not one added
// while it runs: CUPS and the desktop did not find a new printer until a restart. Each
// printer is advertised once here, within a second of being added. Main loop thread only.
bool AdvertiseNewPrinters(pappl_system_t* system, void*)
{
    static std::set<int> advertised;
    papplSystemIteratePrinters(
        system,
        [](pappl_printer_t* printer, void*) {
            if (!advertised.insert(papplPrinterGetID(printer)).second) return;
            char name[256] = "";
            if (papplPrinterGetDNSSDName(printer, name, sizeof name) && name[0])
                papplPrinterSetDNSSDName(printer, name);
        },
        nullptr);
    return true;
}
constexpr const char* kFooter = "tallyx-printer: receipt printers for every program that prints.";

std::string Option(int n, cups_option_t* options, const char* name, const char* fallback)
{
    const char* value = cupsGetOption(name, n, options);
    return value ? value : fallback;
}

pappl_loglevel_t LogLevel(const std::string& name)
{
    if (name == "debug") return PAPPL_LOGLEVEL_DEBUG;
    if (name == "info") return PAPPL_LOGLEVEL_INFO;
    if (name == "error") return PAPPL_LOGLEVEL_ERROR;
    if (name == "fatal") return PAPPL_LOGLEVEL_FATAL;
    return PAPPL_LOGLEVEL_WARN;
}

// Where printers and their settings are kept between runs.
std::string StateFile(const std::string& spool)
{
    if (!spool.empty()) return spool + "/tallyx-printer.state";
    const char* home = std::getenv("HOME");
    return std::string(home && *home ? home : "/var/lib") + "/.tallyx-printer.state";
}

pappl_system_t* MakeSystem(int n, cups_option_t* options, void*)
{
    const std::string port = Option(n, options, "server-port", "");
    const std::string spool = Option(n, options, "spool-directory", "");
    const std::string logFile = Option(n, options, "log-file", "-");
    // Settings change only for a local user who signs in (PAM's login service).
    const std::string auth = Option(n, options, "auth-service", "login");
    const std::string listen = Option(n, options, "listen-hostname", "localhost");

    const pappl_soptions_t soptions = pappl_soptions_t(PAPPL_SOPTIONS_MULTI_QUEUE | PAPPL_SOPTIONS_WEB_INTERFACE |
                                                       PAPPL_SOPTIONS_WEB_LOG | PAPPL_SOPTIONS_WEB_SECURITY |
                                                       PAPPL_SOPTIONS_NO_TLS);
    pappl_system_t* system = papplSystemCreate(
        soptions, "tallyx-printer", port.empty() ? kDefaultPort : std::atoi(port.c_str()), "_print,_universal",
        spool.empty() ? nullptr : spool.c_str(), logFile.c_str(), LogLevel(Option(n, options, "log-level", "warn")),
        auth.empty() || auth == "none" ? nullptr : auth.c_str(), false);
    if (!system) return nullptr;
    papplSystemAddListeners(system, listen.c_str());
    papplSystemSetFooterHTML(system, kFooter);
    static const std::string strings = SettingStrings();
    papplSystemAddStringsData(system, "/en.strings", "en", strings.c_str());
    const auto drivers = PapplDrivers();
    papplSystemSetPrinterDrivers(system, int(drivers.size()), drivers.data(), AutoAddCallback, nullptr, DriverCallback,
                                 nullptr);
    pappl_version_t version{};
    std::snprintf(version.name, sizeof version.name, "tallyx-printer");
    std::snprintf(version.sversion, sizeof version.sversion, "%s", std::string(tallyx::kVersion).c_str());
    papplSystemSetVersions(system, 1, &version);

    static std::string stateFile;
    stateFile = StateFile(spool);
    papplSystemLoadState(system, stateFile.c_str());
    papplSystemSetSaveCallback(system, reinterpret_cast<pappl_save_cb_t>(papplSystemSaveState),
                               const_cast<char*>(stateFile.c_str()));
    papplSystemAddTimerCallback(system, 0, kIdlePollSeconds, PollPrinters, nullptr);
    papplSystemAddTimerCallback(system, 0, kAdvertiseSeconds, AdvertiseNewPrinters, nullptr);
    return system;
}

} // namespace

int main(int argc, char* argv[])
{
    AddDeviceSchemes();
    const auto drivers = PapplDrivers();
    return papplMainloop(argc, argv, std::string(tallyx::kVersion).c_str(), kFooter, int(drivers.size()),
                         drivers.data(), AutoAddCallback, DriverCallback, nullptr, nullptr, MakeSystem, nullptr,
                         nullptr);
}
