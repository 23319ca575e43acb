#pragma once
// Controls of the code page dialog (template 131).
namespace tallyx::id::codepage {
inline constexpr int kList = 1002;          // the 75 code pages; typed text selects nothing
inline constexpr int kSet = 1006;           // "Set CodePage"
inline constexpr int kPrintChart = 1003;    // "Print Current CodePage"
inline constexpr int kSelfTest = 1007;      // "Print SelfTest"
} // namespace tallyx::id::codepage
