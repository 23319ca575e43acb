#pragma once
// What the virtual printer itself prints (its self-test page); the set-up tool's own texts
// live in res/Messages.h.
#include <string_view>

namespace tallyx::vprinter {

// The tool's window that shows this printer's paper.
inline constexpr std::string_view kVirtualPrinterWindowTitle = "虚拟打印机";

inline constexpr std::string_view kSelfTestTitle = "自检页 SELF-TEST";
inline constexpr std::string_view kSelfTestModel = "tallyx 虚拟打印机";
inline constexpr char kSelfTestRule = '-';   // a rule across the paper
inline constexpr std::string_view kSelfTestPaper = "纸宽 Paper: ";
inline constexpr std::string_view kSelfTestPrintMode = "打印模式 Mode: ";
inline constexpr std::string_view kSelfTestDensity = "打印浓度 Density: Level";
inline constexpr std::string_view kSelfTestBaud = "串口波特率 Baud: ";
inline constexpr std::string_view kSelfTestBuzzer = "蜂鸣器 Buzzer: ";
inline constexpr std::string_view kSelfTestCutter = "切刀 Cutter: ";
inline constexpr std::string_view kSelfTestFont = "字库 Font: Font_";
inline constexpr std::string_view kSelfTestCodePage = "代码页 Code page: ";
inline constexpr std::string_view kSelfTestNetwork = "网络参数 Network";
inline constexpr std::string_view kSelfTestIp = " IP: ";
inline constexpr std::string_view kSelfTestMask = " 子网掩码 Mask: ";
inline constexpr std::string_view kSelfTestGateway = " 网关 Gateway: ";
inline constexpr std::string_view kSelfTestDns = " DNS: ";
inline constexpr std::string_view kSelfTestDhcp = " DHCP: ";
inline constexpr std::string_view kSelfTestLogos = "NV LOGO:";
inline constexpr std::string_view kSelfTestLogoEmpty = "-";
inline constexpr std::string_view kSelfTestChinese = "中文打印测试 GBK 汉字";
inline constexpr std::string_view kSelfTestModeAscii = "ASCII";
inline constexpr std::string_view kSelfTestModeChinese = "Chinese";
inline constexpr std::string_view kSelfTestOn = "ON";
inline constexpr std::string_view kSelfTestOff = "OFF";

} // namespace tallyx::vprinter
