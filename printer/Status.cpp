// The printer's status as IPP state reasons: asked before each job, and every few seconds
// while it is idle.
#include <chrono>
#include <mutex>
#include <set>
#include <thread>

#include "printer/DeviceLink.h"
#include "printer/Drivers.h"
#include "printer/StateReasons.h"

namespace tallyx::printer {

namespace {

constexpr unsigned kStatusReasons = PAPPL_PREASON_MEDIA_EMPTY | PAPPL_PREASON_MEDIA_NEEDED | PAPPL_PREASON_MEDIA_LOW |
                                    PAPPL_PREASON_DOOR_OPEN | PAPPL_PREASON_OFFLINE | PAPPL_PREASON_OTHER;

std::optional<PrinterStatus> AskOnce(pappl_device_t* device)
{
    return AskStatus([device](const Bytes& request) -> std::optional<uint8_t> {
        if (papplDeviceWrite(device, request.data(), request.size()) < 0) return std::nullopt;
        papplDeviceFlush(device);
        uint8_t reply = 0;
        if (papplDeviceRead(device, &reply, 1) != 1) return std::nullopt;
        return reply;
    });
}

// A printer that does not answer may have gone and come back on a new connection: asked
// once more on a fresh one.
std::optional<PrinterStatus> Ask(pappl_device_t* device)
{
    std::optional<PrinterStatus> status = AskOnce(device);
    auto* link = static_cast<DeviceLink*>(papplDeviceGetData(device));
    if (!status && link && link->Reopen()) status = AskOnce(device);
    return status;
}

void Show(pappl_printer_t* printer, pappl_preason_t reasons)
{
    papplPrinterSetReasons(printer, reasons, pappl_preason_t(kStatusReasons & ~unsigned(reasons)));
}

// Printers this application stopped because they could not print (not the operator's pauses).
std::mutex g_stoppedLock;
std::set<int> g_stopped;

// An idle printer that cannot print is stopped, so the jobs sent meanwhile are kept in the
// spool instead of holding their senders' connections open; it starts again when it can.
void FollowStatus(pappl_printer_t* printer, const std::optional<PrinterStatus>& status)
{
    const bool printable = status && CanPrint(*status);
    const int id = papplPrinterGetID(printer);
    std::lock_guard lock(g_stoppedLock);
    if (!printable && papplPrinterGetState(printer) == IPP_PSTATE_IDLE && g_stopped.insert(id).second) {
        papplLogPrinter(printer, PAPPL_LOGLEVEL_INFO, "Stopped until the printer can print.");
        papplPrinterPause(printer);
    } else if (printable && g_stopped.erase(id)) {
        papplLogPrinter(printer, PAPPL_LOGLEVEL_INFO, "The printer can print again.");
        papplPrinterResume(printer);
    }
}

} // namespace

bool StatusCallback(pappl_printer_t* printer)
{
    // A printer busy with a job answers through the job's own questions.
    pappl_device_t* device = papplPrinterOpenDevice(printer);
    if (!device) return true;
    const std::optional<PrinterStatus> status = Ask(device);
    papplPrinterCloseDevice(printer);
    Show(printer, StateReasons(status));
    FollowStatus(printer, status);
    return true;
}

bool PollPrinters(pappl_system_t* system, void*)
{
    papplSystemIteratePrinters(
        system, [](pappl_printer_t* printer, void*) { StatusCallback(printer); }, nullptr);
    return true;
}

// The job's first step: the printer is asked until it can print; the job waits meanwhile,
// its printer's reasons saying why. false: the job was cancelled while it waited.
bool WaitUntilPrintable(pappl_job_t* job, pappl_device_t* device)
{
    pappl_printer_t* printer = papplJobGetPrinter(job);
    bool told = false;
    for (;;) {
        const std::optional<PrinterStatus> status = Ask(device);
        Show(printer, StateReasons(status));
        if (status && CanPrint(*status)) break;
        if (!told) papplLogJob(job, PAPPL_LOGLEVEL_WARN, "The printer cannot print now; the job waits for it.");
        told = true;
        papplJobSetReasons(job, PAPPL_JREASON_PRINTER_STOPPED, PAPPL_JREASON_NONE);
        for (int i = 0; i < 10; ++i) {
            // A stop of the application ends the wait too: the job is aborted, said in the log.
            if (papplJobIsCanceled(job) || papplSystemIsShutdown(papplPrinterGetSystem(printer))) return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
    }
    papplJobSetReasons(job, PAPPL_JREASON_NONE, PAPPL_JREASON_PRINTER_STOPPED);
    return true;
}

} // namespace tallyx::printer
