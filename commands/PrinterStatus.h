#pragma once
// The printer's real-time status (DLE EOT 1-4) and identity (GS I 65-68): the requests and
// their reply decoders. A reply whose fixed bits are wrong is refused (nullopt).
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "res/Types.h"

namespace tallyx {

enum class StatusKind : uint8_t { Printer = 1, OfflineCause = 2, ErrorCause = 3, PaperSensor = 4 };
enum class PaperLevel : uint8_t { Ok, NearEnd, Out };
enum class IdentityKind : uint8_t { Firmware = 65, Maker = 66, Model = 67, Serial = 68 };

inline constexpr size_t kStatusReplySize = 1;
// Every status byte has bit 1 and bit 4 set, bits 0 and 7 clear.
inline constexpr uint8_t kStatusFixedMask = 0x93;
inline constexpr uint8_t kStatusFixedValue = 0x12;
// The longest identity text read back (a longer reply is refused).
inline constexpr size_t kIdentityMaxText = 80;

struct PrinterStatus {
    // DLE EOT 1
    bool offline = false;
    bool drawerPinHigh = false;
    bool waitingForRecovery = false;
    bool feedButton = false;
    // DLE EOT 2
    bool coverOpen = false;
    bool fedByButton = false;
    bool stoppedAtPaperEnd = false;
    bool errorOccurred = false;
    // DLE EOT 3
    bool cutterError = false;
    bool unrecoverable = false;
    bool autoRecoverable = false;
    // DLE EOT 4
    PaperLevel paper = PaperLevel::Ok;
};

Bytes BuildStatusRequest(StatusKind kind);
Bytes BuildIdentityRequest(IdentityKind kind);

// Sets the fields of `kind` in `into`; false (and `into` unchanged) when the byte is not a
// status byte.
bool DecodeStatusByte(StatusKind kind, uint8_t reply, PrinterStatus& into);

// The reply of GS I 65-68: '_', the text, NUL. nullopt when the reply is not of that layout.
// IdentityReplyComplete: the reply so far has ended (its NUL read, or it is too long to be one).
std::optional<std::string> DecodeIdentityReply(std::string_view reply);
bool IdentityReplyComplete(std::string_view reply);

// The printer can print: online, cover closed, paper not out, no error.
bool CanPrint(const PrinterStatus& s);

} // namespace tallyx
