#pragma once
// Captions, messages and hints of the barcode, QR code and PDF417 dialogs.
#include <string_view>

namespace tallyx {

// Window titles and the captions of their messages
inline constexpr std::string_view kCaptionBarCode = "BarCode";
inline constexpr std::string_view kCaptionQr = "QR_DIALOG";
inline constexpr std::string_view kCaptionPdf417 = "PDF417_DIALOG";

// Barcode data
inline constexpr std::string_view kMsgBarcodeTooMuchData = "输入的数据太多了!";
inline constexpr std::string_view kMsgBarcodeEnterData = "请输入数据!";
inline constexpr std::string_view kMsgUpcALength = "设置错误!字元个数不为11或12";
inline constexpr std::string_view kMsgUpcELength = "设置错误!字元个数不为6或7";
inline constexpr std::string_view kMsgEan13Length = "设置错误!字元个数不为12或13";
inline constexpr std::string_view kMsgJan8Length = "设置错误!字元个数不为7或8";
inline constexpr std::string_view kMsgBarcodeNotDigit = "设置错误!字元不在0~9";
inline constexpr std::string_view kMsgCodabarStartStop = "设置错误!起始符或终止符不在A~D";
inline constexpr std::string_view kMsgBarcodeUnsupported = "设置错误!字元不支持";

// A number field of the barcode dialog that holds no integer
inline constexpr std::string_view kMsgEnterInteger = "请输入一个整数。";

// What each symbology accepts (static 1057)
inline constexpr std::string_view kHintUpcA = "请输入11或12个数字";
inline constexpr std::string_view kHintUpcE = "请输入6或7个数字";
inline constexpr std::string_view kHintEan13 = "请输入12或13个数字";
inline constexpr std::string_view kHintJan8 = "请输入7或8个数字";
inline constexpr std::string_view kHintCode39 = "请输入数字或大写英文字母或包括字符-.$/+% *";
inline constexpr std::string_view kHintItf = "请输入数字字符串";
inline constexpr std::string_view kHintCodabar = "起始符或终止符为A~D,其余为数字或包括字符$+-./:";
inline constexpr std::string_view kHintCode93 = "请输入数字或大写英文字母或包括字符$%+ -./";
inline constexpr std::string_view kHintCode128 = "请输入可见字符串";

// QR code and PDF417 content
inline constexpr std::string_view kMsgInputTooLong = "Input too long!";
inline constexpr std::string_view kMsgInputNull = "Input NULL!";

} // namespace tallyx
