#pragma once
// The voice chip: stored prompts 1 to 22, and a money amount read out.
#include <cstdint>
#include <string_view>

#include "res/Types.h"

namespace tallyx {

inline constexpr uint32_t kVoiceFirst = 1;
inline constexpr uint32_t kVoiceLast = 22;
inline constexpr size_t kAmountMaxBytes = 11;
inline constexpr uint64_t kAmountLimit = 10000000;   // whole yuan; this and above are refused

// The prompt before / after `current` (0 before the first), never leaving 1..22.
uint32_t PreviousVoice(uint32_t current);
uint32_t NextVoice(uint32_t current);
// 1F 12 10 v: play prompt v.
Bytes BuildVoicePromptCommand(uint8_t voice);
// 1F 13 L and the amount's L bytes exactly as typed; refused when empty, too long,
// not digits and full stops, or ten million or more.
Result BuildAmountCommand(std::string_view amount);

} // namespace tallyx
