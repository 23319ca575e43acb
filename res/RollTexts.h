#pragma once
// The virtual printer window's own words (its title word is the printer's, in
// vprinter/PrinterTexts.h).
#include <string_view>

namespace tallyx {

inline constexpr std::string_view kRollTitleDash = " — ";      // between the title and where it listens
inline constexpr std::string_view kRollTitleSeparator = " · ";
inline constexpr std::string_view kRollReceiptName = "小票 %1";   // %1: its number in this run
inline constexpr std::string_view kRollPrinting = "打印中";       // the receipt still coming out
inline constexpr std::string_view kRollSavePng = "保存为 PNG(&S)...";
inline constexpr std::string_view kRollClear = "清除全部(&C)";
inline constexpr std::string_view kRollSaveCaption = "保存小票";
inline constexpr std::string_view kRollSaveFilter = "PNG 图片 (*.png)";
inline constexpr std::string_view kRollSaveFailed = "无法保存图片: %1";

} // namespace tallyx
