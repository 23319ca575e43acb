#pragma once
// Control ids of the main window (template 102), named by meaning.
namespace tallyx::id::main {

// Port settings
inline constexpr int kPort = 1001;              // port combo
inline constexpr int kBaud = 1002;              // baud combo
inline constexpr int kConnect = 1003;
inline constexpr int kBaudLabel = 1009;
inline constexpr int kPrinterAddressLabel = 1020;
inline constexpr int kPrinterAddress = 1021;    // the printer's IP address control

// The printer's own network parameters
inline constexpr int kNetIp = 1022;
inline constexpr int kNetGateway = 1023;
inline constexpr int kNetMask = 1024;
inline constexpr int kNetDns = 1025;
inline constexpr int kDhcp = 1076;              // DHCP combo
inline constexpr int kSave = 1039;              // saves the network parameters
inline constexpr int kSendTrigger = 1031;       // hidden: sends the pending network command
inline constexpr int kReopen = 1052;            // hidden: reopens the port

// Setting buttons and the combos they read
inline constexpr int kSelfTestPage = 1040;
inline constexpr int kFactoryReset = 1047;
inline constexpr int kPrintMode = 1041;
inline constexpr int kPrintModeCombo = 1032;
inline constexpr int kDensity = 1042;
inline constexpr int kDensityCombo = 1035;
inline constexpr int kBuzzer = 1043;
inline constexpr int kBuzzerCombo = 1033;
inline constexpr int kCutter = 1044;
inline constexpr int kCutterCombo = 1034;
inline constexpr int kPrinterBaud = 1045;
inline constexpr int kPrinterBaudCombo = 1046;
inline constexpr int kFont = 1048;
inline constexpr int kFontCombo = 1049;
inline constexpr int kAlign = 1059;
inline constexpr int kAlignCombo = 1061;
inline constexpr int kMagnify = 1060;
inline constexpr int kMagnifyCombo = 1062;
inline constexpr int kInit = 1051;
inline constexpr int kUnderline = 1053;
inline constexpr int kBold = 1054;
inline constexpr int kRotate = 1056;
inline constexpr int kUpsideDown = 1057;
inline constexpr int kReverse = 1058;

// Test buttons and the secondary dialogs
inline constexpr int kHexMode = 1018;
inline constexpr int kNvLogo = 1067;
inline constexpr int kCodePage = 1068;
inline constexpr int kBarCode = 1069;
inline constexpr int kQrCode = 1070;
inline constexpr int kVoiceTest = 1071;
inline constexpr int kPdf417 = 1073;
inline constexpr int kSelfTest = 1077;          // sent g_sendCount times
inline constexpr int kCutterCheck = 1078;
inline constexpr int kDrawer = 1079;
inline constexpr int kBuzzerTest = 1080;

// The print-test box
inline constexpr int kPrintText = 1055;
inline constexpr int kSendText = 1019;
inline constexpr int kSendCount = 1050;
inline constexpr int kHex = 1074;               // " HEX" check box
inline constexpr int kClear = 1075;

} // namespace tallyx::id::main
