#pragma once
// The printer's answers about itself: real-time status (DLE EOT 1-4), transmit status
// (GS r), its identity (GS I 65-68) and the automatic status back (GS a), all from the
// sensors the operator sets.
#include <functional>
#include <map>
#include <string>
#include <string_view>

#include "vprinter/device/DeviceStatus.h"
#include "vprinter/interpret/Executor.h"

namespace tallyx::vprinter {

// Sends bytes nobody asked for (the automatic status back) to a link.
using PushFn = std::function<void(std::string_view link, const Bytes& bytes)>;

class StatusExecutor : public Executor {
public:
    StatusExecutor(PrintContext& ctx, PrinterIdentity identity);
    std::string Execute(const Command& cmd);

    const DeviceStatus& Status() const { return m_status; }
    // Every link whose GS a asked for one of the items that changed gets the status back.
    void SetStatus(const DeviceStatus& status, const PushFn& push);
    void SetIdentity(PrinterIdentity identity) { m_identity = std::move(identity); }
    // The automatic status back asked for on a connection ends with it.
    void EndOfStream(std::string_view link) { m_asb.erase(std::string(link)); }
    // A silent printer answers no status question and sends no status back (a script's
    // "silent"), as a printer that has hung does.
    void SetSilent(bool silent) { m_silent = silent; }
    bool Silent() const { return m_silent; }

private:
    std::string EnableAsb(uint8_t items);

    DeviceStatus m_status;
    PrinterIdentity m_identity;
    bool m_silent = false;
    std::map<std::string, uint8_t, std::less<>> m_asb;   // link -> GS a items
};

} // namespace tallyx::vprinter
