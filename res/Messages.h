#pragma once
// Every caption and message the operator can see, exactly as the printer tool shows it.
#include <string_view>

namespace tallyx {

// Captions
inline constexpr std::string_view kCaptionApp = "tallyx";   // application message boxes
inline constexpr std::string_view kCaptionTool = "打印机设置工具";
inline constexpr std::string_view kCaptionWarning = "警告";
inline constexpr std::string_view kCaptionError = "错误";
inline constexpr std::string_view kCaptionNvLogo = "NV LOGO";

// Start-up and main window
inline constexpr std::string_view kMsgSocketInitFailed = "网络套接字初始化失败!";
inline constexpr std::string_view kMsgAboutMenu = "关于 Kestrano(&A)...";
inline constexpr std::string_view kMsgSendCountInvalid = "请输入一个无符号整数。";

// Link and connect
inline constexpr std::string_view kMsgPortBusy = "此端口被占用或已损坏";
inline constexpr std::string_view kMsgNoUsbDevice = "无法找到USB设备";
inline constexpr std::string_view kMsgRemoteIpEmpty = "远程IP地址为空!";
inline constexpr std::string_view kMsgConnectIpIncomplete = "你输入的IP地址不完整!";
inline constexpr std::string_view kMsgSendIpIncomplete = "您输入的IP地址不完整!";
inline constexpr std::string_view kMsgSocketFailed = "创建套接字失败";
inline constexpr std::string_view kMsgConnectFailed = "与打印机连接不成功!";
inline constexpr std::string_view kMsgNetSaveFailed = "通讯不成功,请断开再重新连接!";

// Network parameter save
inline constexpr std::string_view kMsgSetIpEmpty = "要设置的ip地址为空!";
inline constexpr std::string_view kMsgSetIpIncomplete = "您输入的ip地址不完整!";
inline constexpr std::string_view kMsgSetMaskEmpty = "要设置的子网掩码为空!";
inline constexpr std::string_view kMsgSetMaskIncomplete = "您输入的子网掩码不完整!";
inline constexpr std::string_view kMsgSetGatewayEmpty = "要设置的网关为空!";
inline constexpr std::string_view kMsgSetGatewayIncomplete = "您输入的网关地址不完整!";
inline constexpr std::string_view kMsgSetDnsEmpty = "要设置的DNS为空!";
inline constexpr std::string_view kMsgSetDnsIncomplete = "您输入的DNS地址不完整!";

// Print test
inline constexpr std::string_view kMsgTooMuchInput = "输入太多了!";
inline constexpr std::string_view kMsgHexInputError = "十六进制字符输入有错误!";

// Bitmaps and the NV logo dialog
inline constexpr std::string_view kMsgBmpFormat01 = "位图文件格式有误0x01!";
inline constexpr std::string_view kMsgBmpFormat02 = "位图文件格式有误0x02!";
inline constexpr std::string_view kMsgBmpFormat03 = "位图文件格式有误0x03!";
inline constexpr std::string_view kMsgBmpFormat04 = "位图文件格式有误0x04!";
inline constexpr std::string_view kMsgBmpFormat05 = "位图文件格式有误0x05!";
inline constexpr std::string_view kMsgBmpFormat06 = "位图文件格式有误0x06!";
inline constexpr std::string_view kMsgBmpUnsupported = "BMP位图格式不支持!";
inline constexpr std::string_view kMsgBmpTooLarge = "位图数据太大了，操作失败!";
inline constexpr std::string_view kMsgOpenBmpFirst = "Please Open BMP first!";
inline constexpr std::string_view kMsgLogoDownloaded = "DownLoad LOGO Success!";
inline constexpr std::string_view kMsgLogoCleared = "Clear LOGO Success!";

// The command line's own texts for what the window does not report itself
inline constexpr std::string_view kTextUsbNotOpened = "tallyx-cli: the USB printer could not be opened";
inline constexpr std::string_view kTextShortReply =
    "tallyx-cli: the printer's answer to the network query is too short";
inline constexpr std::string_view kTextWriteTimeout =
    "tallyx-cli: the printer did not take the command in time";
inline constexpr std::string_view kTextStopped = "tallyx-cli: stopped";

} // namespace tallyx
