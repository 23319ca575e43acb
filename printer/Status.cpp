// The printer's status as IPP state reasons: asked before each job, and every few seconds
// while it is idle.
#include <chrono>
#include <thread>

#include "printer/Drivers.h"
#include "printer/StateReasons.h"

namespace tallyx::printer {

namespace {

constexpr unsigned kStatusReasons = PAPPL_PREASON_MEDIA_EMPTY | PAPPL_PREASON_MEDIA_NEEDED | PAPPL_PREASON_MEDIA_LOW |
                                    PAPPL_PREASON_DOOR_OPEN | PAPPL_PREASON_OFFLINE | PAPPL_PREASON_OTHER;

std::optional<PrinterStatus> Ask(pappl_device_t* device)
{
    return AskStatus([device](const Bytes& request) -> std::optional<uint8_t> {
        if (papplDeviceWrite(device, request.data(), request.size()) < 0) return std::nullopt;
        papplDeviceFlush(device);
        uint8_t reply = 0;
        if (papplDeviceRead(device, &reply, 1) != 1) return std::nullopt;
        return reply;
    });
}

void Show(pappl_printer_t* printer, pappl_preason_t reasons)
{
    papplPrinterSetReasons(printer, reasons, pappl_preason_t(kStatusReasons & ~unsigned(reasons)));
}

} // namespace

bool StatusCallback(pappl_printer_t* printer)
{
    // A printer busy with a job answers through the job's own questions.
    pappl_device_t* device = papplPrinterOpenDevice(printer);
    if (!device) return true;
    Show(printer, StateReasons(Ask(device)));
    papplPrinterCloseDevice(printer);
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
            if (papplJobIsCanceled(job)) return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
    }
    papplJobSetReasons(job, PAPPL_JREASON_NONE, PAPPL_JREASON_PRINTER_STOPPED);
    return true;
}

} // namespace tallyx::printer
