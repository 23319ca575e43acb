#pragma once
// Controls of the PDF417 dialog (template 137) that code refers to.
namespace tallyx::id::pdf417 {

inline constexpr int kColumns = 1001;        // "Data region:"
inline constexpr int kRows = 1002;           // "Rows:"
inline constexpr int kModuleWidth = 1012;    // "Bar width:"
inline constexpr int kRowHeight = 1017;      // "Row height:"
inline constexpr int kOptions = 1019;        // "Select Options:"
inline constexpr int kCorrectionMode = 1016; // "Correction Level: "
inline constexpr int kLevel = 1018;          // shown in level mode
inline constexpr int kRatio = 1004;          // shown in ratio mode, in the level combo's place
inline constexpr int kContent = 1058;        // multi-line edit
inline constexpr int kSend = 1003;           // button "Send Data"

} // namespace tallyx::id::pdf417
