#pragma once
// Controls of the barcode dialog (template 133) that code refers to.
namespace tallyx::id::barcode {

inline constexpr int kHriPosition = 1002;   // combo: where the readable line goes
inline constexpr int kHriFont = 1004;       // combo: its font
inline constexpr int kType = 1006;          // combo: symbology
inline constexpr int kHeight = 1077;        // edit: bar height in dots
inline constexpr int kWidth = 1078;         // edit: module width
inline constexpr int kMargin = 1079;        // edit: left margin
inline constexpr int kHint = 1057;          // static: what the chosen symbology accepts
inline constexpr int kData = 1014;          // edit: the data
inline constexpr int kPrint = 1007;         // button "条码打印"

} // namespace tallyx::id::barcode
