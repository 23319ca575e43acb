#pragma once
// Every caption, message and fixed text the operator can see, exactly as the tool shows it.
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

// A network command longer than the pending buffer (24575 bytes) is not sent at all.
inline constexpr std::string_view kMsgCommandTooLong = "命令超过24575字节，未发送!";

// The command line's own texts for what the window does not report itself
inline constexpr std::string_view kTextUsbNotOpened = "tallyx-cli: the USB printer could not be opened";
inline constexpr std::string_view kTextShortReply =
    "tallyx-cli: the printer's answer to the network query is too short";
inline constexpr std::string_view kTextWriteTimeout =
    "tallyx-cli: the printer did not take the command in time";
inline constexpr std::string_view kTextStopped = "tallyx-cli: stopped";
inline constexpr std::string_view kTextNotWritten = "tallyx-cli: no device is open: nothing was written";
inline constexpr std::string_view kTextDisconnected = "tallyx-cli: the link was disconnected";
inline constexpr std::string_view kTextNoReply = "tallyx-cli: the printer did not answer";
inline constexpr std::string_view kTextBadReply = "tallyx-cli: the printer's answer is not of the layout asked for";

// ==== The main window and the About box: captions and fixed texts
inline constexpr std::string_view kMainCaption = "Tallyx-V1.02";
inline constexpr std::string_view kConnectCaption = "连 接";
inline constexpr std::string_view kDisconnectCaption = "断 开";

// Shown in the printer address control 1021 at start.
inline constexpr std::string_view kDefaultPrinterIp = "192.168.1.100";

// Print-test box 1055 at start: three lines, each ending in CR LF.
inline constexpr std::string_view kDefaultPrintText =
    "1234567890ABCDEFGHIJKLMNOPQRSTUV\r\n"
    "WXYZabcdefgjilklmnopqrstuvwxyz&*\r\n"
    "Zorvik打印机品牌\r\n";

inline constexpr std::string_view kAboutCaption = "关于 Vantrel";
inline constexpr std::string_view kAboutVersion = "Vantrel 3.0 版";
inline constexpr std::string_view kAboutLine2 = "Tallyx 打印机设置与测试工具";
inline constexpr std::string_view kAboutOk = "确定";

// ==== Bitmap files: refusals beyond the header checks above, and the NV logo dialog's file filter
inline constexpr std::string_view kMsgBmpCannotOpen = "位图文件打开失败!";
inline constexpr std::string_view kMsgBmpTruncated = "位图文件不完整!";
inline constexpr std::string_view kMsgBmpBadSize = "位图宽度或高度有误!";
inline constexpr std::string_view kMsgBmpTopDown = "不支持自上而下存储的位图!";
inline constexpr std::string_view kMsgBmpTooWide = "位图宽度或高度超过2040点，操作失败!";

// ==== Pictures of any format: refusals of the file or of what it would print
inline constexpr std::string_view kMsgPictureCannotOpen = "图片文件打开失败!";
inline constexpr std::string_view kMsgPictureNotImage = "不是可识别的图片文件!";
inline constexpr std::string_view kMsgPictureBroken = "图片文件不完整或已损坏!";
inline constexpr std::string_view kMsgPictureTooLarge = "图片超过5000万像素，操作失败!";
inline constexpr std::string_view kMsgPictureTooTall = "图片打印高度超过65535点，操作失败!";
// The preview window: its title, its send button, what will print.
inline constexpr std::string_view kCaptionPicture = "图片预览";
inline constexpr std::string_view kMsgPictureSend = "打印";
inline constexpr std::string_view kMsgPictureSize = "%1 × %2 点，%3 段";   // dots across, down, bands
// The file dialog of "打开BMP" for any picture the readers know, and BMPs alone.
inline constexpr std::string_view kFilterPictureFiles =
    "图片文件(*.png *.PNG *.jpg *.JPG *.jpeg *.JPEG *.gif *.GIF *.webp *.WEBP *.tif *.TIF *.tiff *.TIFF *.bmp *.BMP)";

// The file dialog of "打开BMP": both spellings of the extension on a case-sensitive system.
inline constexpr std::string_view kFilterBitmapFiles = "位图文件(*.BMP *.bmp)";

// ==== The barcode, QR code and PDF417 dialogs: captions, messages and hints
// Window titles and the captions of their messages: the symbol dialogs' titles differ
// from their message captions in case.
inline constexpr std::string_view kCaptionBarCode = "BarCode";
inline constexpr std::string_view kCaptionQr = "QR_DIALOG";
inline constexpr std::string_view kCaptionPdf417 = "PDF417_DIALOG";
inline constexpr std::string_view kTitleQr = "QR_Dialog";
inline constexpr std::string_view kTitlePdf417 = "PDF417_Dialog";

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

// ==== The code page, cutter and voice chip dialogs: captions, messages and labels
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
// The progress line reads this, then "N/M", while the run goes on.
inline constexpr std::string_view kTextCutSent = "已发送 ";
// When the run has ended: the word, then the cycles sent, then the failures if any.
inline constexpr std::string_view kTextCutDone = "完成，";
inline constexpr std::string_view kTextCutStopped = "已停止，";
inline constexpr std::string_view kTextCutFailed = "，失败 ";
inline constexpr std::string_view kTextCutTimes = " 次";

// Voice chip amount
inline constexpr std::string_view kMsgAmountEmpty = "请输入金额数据!";
inline constexpr std::string_view kMsgAmountTooLong = "输入的数字太多了!";
inline constexpr std::string_view kMsgAmountInvalid = "输入的金额数字非法!";
inline constexpr std::string_view kMsgAmountTooLarge = "输入的金额超出范围了!";

// ==== The send log's window: its menu item, caption and buttons
inline constexpr std::string_view kSendLogMenu = "发送记录(&L)...";
inline constexpr std::string_view kSendLogTitle = "发送记录";
inline constexpr std::string_view kSendLogCopy = "复制";
inline constexpr std::string_view kSendLogClear = "清除";
inline constexpr std::string_view kSendLogClose = "关闭";

// ==== The printer status window: its menu item, caption, items and words
inline constexpr std::string_view kStatusMenu = "打印机状态(&S)...";
inline constexpr std::string_view kStatusTitle = "打印机状态";
inline constexpr std::string_view kStatusRefresh = "刷新";
inline constexpr std::string_view kStatusAutoRefresh = "自动刷新";
inline constexpr std::string_view kStatusOnline = "联机";
inline constexpr std::string_view kStatusCover = "上盖";
inline constexpr std::string_view kStatusPaper = "纸";
inline constexpr std::string_view kStatusDrawer = "钱箱插座第3脚";
inline constexpr std::string_view kStatusFeed = "进纸键";
inline constexpr std::string_view kStatusErrors = "错误";
inline constexpr std::string_view kStatusModel = "型号";
inline constexpr std::string_view kStatusFirmware = "固件";
inline constexpr std::string_view kStatusMaker = "厂商";
inline constexpr std::string_view kStatusSerial = "序列号";
inline constexpr std::string_view kStatusYesOnline = "联机";
inline constexpr std::string_view kStatusOffline = "脱机";
inline constexpr std::string_view kStatusClosed = "关闭";
inline constexpr std::string_view kStatusOpen = "打开";
inline constexpr std::string_view kStatusPaperOk = "正常";
inline constexpr std::string_view kStatusPaperNearEnd = "将尽";
inline constexpr std::string_view kStatusPaperOut = "缺纸";
inline constexpr std::string_view kStatusHigh = "高";
inline constexpr std::string_view kStatusLow = "低";
inline constexpr std::string_view kStatusPressed = "按下";
inline constexpr std::string_view kStatusReleased = "松开";
inline constexpr std::string_view kStatusNoErrors = "无";
inline constexpr std::string_view kStatusCutterError = "切刀错误";
inline constexpr std::string_view kStatusUnrecoverable = "不可恢复错误";
inline constexpr std::string_view kStatusAutoRecoverable = "可自动恢复错误";
inline constexpr std::string_view kStatusNoAnswer = "无应答";
inline constexpr std::string_view kStatusUnknown = "—";
inline constexpr std::string_view kStatusNotConnected = "未连接打印机";
inline constexpr std::string_view kStatusCutterBusy = "切刀测试正在使用连接，暂不查询";
inline constexpr std::string_view kStatusAsking = "正在查询…";
inline constexpr std::string_view kStatusReadAt = "查询于 ";   // then the time
inline constexpr std::string_view kStatusNoReply = "打印机无应答";
inline constexpr std::string_view kStatusBadReply = "打印机的应答格式不对";
inline constexpr std::string_view kStatusLinkFailed = "查询失败: ";   // then the fault's name
// The indicators' colours, as a screen reader says them.
inline constexpr std::string_view kToneGood = "正常";
inline constexpr std::string_view kToneWarn = "注意";
inline constexpr std::string_view kToneBad = "故障";
inline constexpr std::string_view kToneUnknown = "未知";

// ==== The virtual printer window's own words (its title word is the printer's, in
// vprinter/interpret/PrinterTexts.h)
inline constexpr std::string_view kRollTitleDash = " — ";      // between the title and where it listens
inline constexpr std::string_view kRollTitleSeparator = " · ";
inline constexpr std::string_view kRollReceiptName = "小票 %1";   // %1: its number in this run
inline constexpr std::string_view kRollPrinting = "打印中";       // the receipt still coming out
inline constexpr std::string_view kRollSavePng = "保存为 PNG(&S)...";
inline constexpr std::string_view kRollClear = "清除全部(&C)";
inline constexpr std::string_view kRollSaveCaption = "保存小票";
inline constexpr std::string_view kRollSaveFilter = "PNG 图片 (*.png)";
inline constexpr std::string_view kRollSaveFailed = "无法保存图片: %1";
// The virtual printer's sensors, set by hand to see how the software copes.
inline constexpr std::string_view kRollStatusMenu = "状态(&S)";
inline constexpr std::string_view kRollStatusName = "打印机状态";
// The empty roll says how to reach the printer: %1 the ways (kRollHintTcp, kRollHintPty),
// %2 the main window's connect button.
inline constexpr std::string_view kRollHint = "还没有小票。在主窗口选端口 %1，再按“%2”。";
inline constexpr std::string_view kRollHintTcp = "“%1”(打印机 %2)";   // %1 the port item
inline constexpr std::string_view kRollHintPty = "“%1”";
inline constexpr std::string_view kRollHintOr = " 或 ";
inline constexpr std::string_view kRollHintPage = "网页: %1";

} // namespace tallyx
