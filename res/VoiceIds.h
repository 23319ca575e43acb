#pragma once
// Controls of the voice chip dialog (template 140).
namespace tallyx::id::voice {
inline constexpr int kPrevious = 1003;      // "上一语音"
inline constexpr int kNext = 1006;          // "下一语音"
inline constexpr int kAmount = 1014;        // the amount typed
inline constexpr int kAmountTest = 1007;    // "RMB测试发音"
} // namespace tallyx::id::voice
