#pragma once
// Captions and fixed texts of the main window and the About box.
#include <string_view>

namespace tallyx {

inline constexpr std::string_view kMainCaption = "Tallyx-V1.02";
inline constexpr std::string_view kConnectCaption = "连 接";
inline constexpr std::string_view kDisconnectCaption = "断 开";

// Shown in the printer address control 1021 at start.
inline constexpr std::string_view g_defaultPrinterIp = "192.168.1.100";

// Print-test box 1055 at start: three lines, each ending in CR LF.
inline constexpr std::string_view kDefaultPrintText =
    "1234567890ABCDEFGHIJKLMNOPQRSTUV\r\n"
    "WXYZabcdefgjilklmnopqrstuvwxyz&*\r\n"
    "Zorvik打印机品牌\r\n";

inline constexpr std::string_view kAboutCaption = "关于 Vantrel";
inline constexpr std::string_view kAboutVersion = "Vantrel 3.0 版";
inline constexpr std::string_view kAboutLine2 = "Tallyx 打印机设置与测试工具";
inline constexpr std::string_view kAboutOk = "确定";

} // namespace tallyx
