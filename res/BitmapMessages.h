#pragma once
// Refusals of bitmap files that the header checks of res/Messages.h do not cover, and the
// texts of the NV logo dialog that are not messages (file filter, control names).
#include <string_view>

namespace tallyx {

inline constexpr std::string_view kMsgBmpCannotOpen = "位图文件打开失败!";
inline constexpr std::string_view kMsgBmpTruncated = "位图文件不完整!";
inline constexpr std::string_view kMsgBmpBadSize = "位图宽度或高度有误!";
inline constexpr std::string_view kMsgBmpTopDown = "不支持自上而下存储的位图!";
inline constexpr std::string_view kMsgBmpTooWide = "位图宽度或高度超过2040点，操作失败!";

// The file dialog of "打开BMP": both spellings of the extension on a case-sensitive system.
inline constexpr std::string_view kFilterBitmapFiles = "位图文件(*.BMP *.bmp)";

} // namespace tallyx
