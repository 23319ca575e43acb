#pragma once
// Captions, messages and labels of the code page, cutter and voice chip dialogs,
// exactly as the operator reads them.
#include <string_view>

namespace tallyx {

// Window captions (also the captions of their message boxes where they have any)
inline constexpr std::string_view kCaptionCodePage = "Set CodePage";
inline constexpr std::string_view kCaptionCutterWindow = "Cutter Check";
inline constexpr std::string_view kCaptionCutter = "CUTTER_DIALOG";
inline constexpr std::string_view kCaptionVoiceWindow = "语音芯片测试";
inline constexpr std::string_view kCaptionVoice = "声音测试";

// Cutter endurance test
inline constexpr std::string_view kMsgCutCountTooHigh = "不适用的范围，最大为99999次！";
inline constexpr std::string_view kMsgCutCountTooLow = "不适用的范围，最小为1次！";
inline constexpr std::string_view kMsgCutDelayTooLong = "延时不对，最大延时是5000ms";
// The progress line reads this, then "N/M".
inline constexpr std::string_view kTextCutSent = "已发送 ";

// Voice chip amount
inline constexpr std::string_view kMsgAmountEmpty = "请输入金额数据!";
inline constexpr std::string_view kMsgAmountTooLong = "输入的数字太多了!";
inline constexpr std::string_view kMsgAmountInvalid = "输入的金额数字非法!";
inline constexpr std::string_view kMsgAmountTooLarge = "输入的金额超出范围了!";

} // namespace tallyx
