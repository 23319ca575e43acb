#pragma once
// The cutter endurance test: its limits and one numbered cut cycle.
#include <cstdint>
#include <optional>

#include "res/Types.h"

namespace tallyx {

inline constexpr uint32_t kCutCountDefault = 2;        // what every opening of the dialog shows
inline constexpr uint32_t kCutDelayDefaultMs = 1000;
inline constexpr uint32_t kCutCountMax = 99999;
inline constexpr uint32_t kCutDelayMaxMs = 5000;
inline constexpr int kCutPauseExtraMs = 50;   // added to the delay after every cycle

// The count is checked before the delay, high limit before low.
std::optional<Message> CheckCutterSettings(uint32_t count, uint32_t delayMs);

// The cycle number as eight digits (higher digits dropped), two line feeds, a full cut:
// every cut-off piece carries its number. 14 bytes.
Bytes BuildCutCycle(uint32_t cycle);

} // namespace tallyx
