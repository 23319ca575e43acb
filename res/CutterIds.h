#pragma once
// Controls of the cutter endurance dialog (template 138).
namespace tallyx::id::cutter {
inline constexpr int kCountLabel = 1079;
inline constexpr int kCount = 1081;         // cycles to run
inline constexpr int kDelayLabel = 1080;
inline constexpr int kDelay = 1082;         // milliseconds between two cuts
inline constexpr int kStart = 1003;         // "开始测试"
inline constexpr int kProgress = 1083;      // cycles sent so far, under the Start button
} // namespace tallyx::id::cutter
