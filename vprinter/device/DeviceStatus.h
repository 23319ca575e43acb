#pragma once
// What the printer's sensors say (paper, cover, drawer, cutter, the online switch) and who
// it says it is: set by the operator, answered to DLE EOT, GS I, GS r and the automatic
// status back. Not stored: a power cycle finds the printer ready.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "vprinter/device/PrinterState.h"

namespace tallyx::vprinter {

struct DeviceStatus {
    bool paperNearEnd = false;
    bool paperOut = false;
    bool coverOpen = false;
    bool drawerOpen = false;   // drawer pin 3 high
    bool offline = false;      // taken off line by its own switch
    bool cutterError = false;
    bool operator==(const DeviceStatus&) const = default;
};

// One condition the operator can set: its word for --status and its check box.
struct StatusCondition {
    std::string_view word;
    std::string_view label;
    bool DeviceStatus::*field;
};
inline constexpr StatusCondition kStatusConditions[] = {
    {"paper-near-end", "纸将尽", &DeviceStatus::paperNearEnd},
    {"paper-out", "缺纸", &DeviceStatus::paperOut},
    {"cover-open", "上盖打开", &DeviceStatus::coverOpen},
    {"drawer-open", "钱箱打开", &DeviceStatus::drawerOpen},
    {"offline", "离线", &DeviceStatus::offline},
    {"cutter-error", "切刀错误", &DeviceStatus::cutterError},
};

// A comma-separated list of words; nullopt with `bad` set to the first unknown word.
std::optional<DeviceStatus> ParseStatusList(std::string_view list, std::string* bad = nullptr);
// The words of the conditions that hold, comma-separated ("" when ready).
std::string StatusListText(const DeviceStatus& s);
// Every word, for a usage message ("paper-near-end, paper-out, ...").
std::string StatusWords();

// Why nothing is printed ("" when the printer prints); the first cause a technician would fix.
std::string_view StopReason(const DeviceStatus& s);
// Off line as the printer reports it: by its switch, or stopped by a cover, the paper or an error.
bool ReportsOffline(const DeviceStatus& s);

// The reply to DLE EOT n (n 1 to 4).
uint8_t RealTimeStatusByte(const DeviceStatus& s, uint8_t n);
// The reply to GS r n: 1 paper sensors, 2 drawer.
uint8_t TransmitStatusByte(const DeviceStatus& s, uint8_t n);

// GS a n: which changes send the automatic status back.
inline constexpr uint8_t kAsbDrawer = 0x01;
inline constexpr uint8_t kAsbOnline = 0x02;
inline constexpr uint8_t kAsbError = 0x04;
inline constexpr uint8_t kAsbPaper = 0x08;
inline constexpr size_t kAsbSize = 4;
// The four bytes of the automatic status back.
Bytes AsbBytes(const DeviceStatus& s);
// The GS a items whose state differs between `before` and `after`.
uint8_t AsbChanges(const DeviceStatus& before, const DeviceStatus& after);

// Who the printer says it is (GS I 65-68). A profile may set maker and model.
struct PrinterIdentity {
    std::string firmware;   // the program's version
    std::string maker = "tallyx";
    std::string model;
    std::string serial = "VP0001";
};
PrinterIdentity DefaultIdentity(int paperDots);
// GS I n: '_', the text, NUL; nullopt when n is not one of 65-68.
std::optional<Bytes> IdentityReply(const PrinterIdentity& id, uint8_t n);

} // namespace tallyx::vprinter
