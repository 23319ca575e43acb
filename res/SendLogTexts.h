#pragma once
// The send log's window: its menu item, caption and buttons.
#include <string_view>

namespace tallyx {

inline constexpr std::string_view kSendLogMenu = "发送记录(&L)...";
inline constexpr std::string_view kSendLogTitle = "发送记录";
inline constexpr std::string_view kSendLogCopy = "复制";
inline constexpr std::string_view kSendLogClear = "清除";
inline constexpr std::string_view kSendLogClose = "关闭";

} // namespace tallyx
