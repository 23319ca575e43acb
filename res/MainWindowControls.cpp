#include "res/MainWindowControls.h"

#include <array>

#include "res/MainWindowIds.h"
#include "res/Messages.h"

namespace tallyx {

namespace {
using K = ControlKind;
using namespace ctl;
namespace m = id::main;

// Labels that also name the field beside them.
constexpr std::string_view kPort = "端口";
constexpr std::string_view kBaud = "波特率";
constexpr std::string_view kPrinterIp = "打印机IP地址";
constexpr std::string_view kIp = "IP";
constexpr std::string_view kMask = "子网掩码";
constexpr std::string_view kGateway = "网关";
constexpr std::string_view kDns = "DNS";
constexpr std::string_view kDhcp = "DHCP";
constexpr std::string_view kPrintMode = "设置打印模式";
constexpr std::string_view kDensity = "设置打印浓度";
constexpr std::string_view kBuzzer = "蜂鸣设置";
constexpr std::string_view kCutter = "切刀设置";
constexpr std::string_view kPrinterBaud = "串口波特率";
constexpr std::string_view kFont = "字库设定";
constexpr std::string_view kAlignment = "设置对齐方式";
constexpr std::string_view kMagnify = "字体放大倍数";
constexpr std::string_view kPrintTest = "打印测试";
constexpr std::string_view kSendCount = "发送次数";

constexpr ControlDef L(int id, K kind, std::string_view label, DluRect r, uint32_t flags = 0)
{
    return {id, kind, label, label, r, flags};
}
using tpl::Field;
constexpr ControlDef Button(int id, std::string_view label, DluRect r)
{
    return L(id, K::PushButton, label, r, kFlat);
}
// A button of the command set: enabled by connecting, disabled by disconnecting.
constexpr ControlDef Command(int id, std::string_view label, DluRect r)
{
    return L(id, K::PushButton, label, r, kFlat | kCommandSet);
}

constexpr std::array kMainControls{
    L(m::kBaudLabel, K::StaticText, kBaud, {112, 14, 31, 12}, kAlignCentre),
    Field(m::kPort, K::EditableCombo, kPort, {37, 13, 47, 151}),
    L(0, K::StaticText, kPort, {10, 14, 25, 11}, kAlignCentre),
    Field(m::kBaud, K::EditableCombo, kBaud, {145, 13, 43, 98}),
    Button(m::kConnect, "连  接", {205, 10, 59, 18}),
    L(0, K::GroupBox, "端口设置", {7, 2, 451, 30}),
    L(m::kPrinterAddressLabel, K::StaticText, kPrinterIp, {283, 13, 48, 12}, kAlignCentre),
    L(0, K::StaticText, kIp, {250, 60, 35, 12}, kAlignRight),
    L(0, K::StaticText, kMask, {250, 77, 35, 12}, kAlignRight),
    L(0, K::StaticText, kGateway, {250, 95, 35, 12}, kAlignRight),
    L(0, K::GroupBox, "本地打印机网络参数设置", {232, 32, 226, 99}),
    Field(m::kPrinterAddress, K::IpAddress, kPrinterIp, {333, 12, 100, 15}),
    Field(m::kNetIp, K::IpAddress, kIp, {290, 59, 100, 12}),
    Field(m::kNetGateway, K::IpAddress, kGateway, {290, 93, 100, 12}),
    Field(m::kNetMask, K::IpAddress, kMask, {290, 76, 100, 12}),
    Button(m::kSave, "保  存", {401, 109, 33, 13}),
    L(m::kSendTrigger, K::PushButton, "hhh", {411, 111, 16, 10}),
    L(0, K::GroupBox, "打印机功能参数设置", {232, 133, 226, 116}),
    Command(m::kSelfTestPage, "打印自检页", {403, 162, 48, 13}),
    Command(m::kPrintMode, kPrintMode, {238, 181, 48, 13}),
    Command(m::kDensity, kDensity, {348, 181, 48, 13}),
    Command(m::kBuzzer, kBuzzer, {238, 197, 48, 13}),
    Command(m::kCutter, kCutter, {348, 197, 48, 13}),
    Field(m::kPrintModeCombo, K::ListCombo, kPrintMode, {293, 181, 48, 98}),
    Field(m::kBuzzerCombo, K::ListCombo, kBuzzer, {293, 197, 48, 98}),
    Field(m::kCutterCombo, K::ListCombo, kCutter, {403, 197, 48, 98}),
    Field(m::kDensityCombo, K::ListCombo, kDensity, {403, 181, 48, 98}),
    Command(m::kPrinterBaud, kPrinterBaud, {238, 213, 48, 13}),
    Field(m::kPrinterBaudCombo, K::ListCombo, kPrinterBaud, {293, 213, 48, 98}),
    Command(m::kFactoryReset, "恢复出厂设置", {348, 162, 48, 13}),
    Command(m::kFont, kFont, {348, 213, 48, 13}),
    Field(m::kFontCombo, K::ListCombo, kFont, {403, 213, 48, 98}),
    L(m::kReopen, K::PushButton, "HHH2", {408, 110, 19, 10}),
    Command(m::kHexMode, "HEX模式", {238, 251, 31, 15}),
    Field(m::kPrintText, K::MultiLineEdit, kPrintTest, {12, 44, 214, 209}, kScrollBars | kWantReturn),
    L(0, K::GroupBox, kPrintTest, {6, 32, 224, 253}),
    Command(m::kSendText, "发  送", {79, 265, 36, 13}),
    L(0, K::StaticText, kSendCount, {13, 268, 31, 8}),
    Field(m::kSendCount, K::Edit, kSendCount, {46, 265, 30, 13}, kAlignCentre),
    Command(m::kInit, "初始化打印机", {238, 146, 48, 13}),
    Command(m::kUnderline, "设置下划线", {293, 146, 48, 13}),
    Command(m::kBold, "设置粗体打印", {348, 146, 48, 13}),
    Command(m::kRotate, "设置旋转打印", {293, 162, 48, 13}),
    Command(m::kUpsideDown, "设置倒置打印", {403, 146, 48, 13}),
    Command(m::kReverse, "设置黑白打印", {238, 162, 48, 13}),
    Command(m::kAlign, kAlignment, {238, 229, 48, 13}),
    Command(m::kMagnify, kMagnify, {348, 229, 48, 13}),
    Field(m::kAlignCombo, K::ListCombo, kAlignment, {293, 229, 48, 98}),
    Field(m::kMagnifyCombo, K::ListCombo, kMagnify, {403, 229, 48, 98}),
    Command(m::kNvLogo, "NV LOGO", {275, 251, 31, 15}),
    Command(m::kCodePage, "代码页", {312, 251, 31, 15}),
    Command(m::kBarCode, "一维码", {349, 251, 31, 15}),
    Command(m::kQrCode, "二维码", {386, 251, 31, 15}),
    Command(m::kPdf417, "PDF417", {423, 251, 31, 15}),
    L(m::kHex, K::CheckBox, " HEX", {165, 267, 32, 10}),
    Button(m::kClear, "清空", {199, 265, 21, 13}),
    L(0, K::StaticText, kDns, {250, 112, 35, 9}, kAlignRight),
    L(0, K::StaticText, kDhcp, {250, 41, 35, 12}, kAlignRight),
    Field(m::kNetDns, K::IpAddress, kDns, {290, 110, 100, 12}),
    Field(m::kDhcp, K::ListCombo, kDhcp, {290, 41, 35, 98}),
    Command(m::kSelfTest, "SelfTest", {119, 265, 36, 13}),
    Command(m::kCutterCheck, "切刀测试", {238, 268, 31, 15}),
    Command(m::kDrawer, "钱箱测试", {275, 268, 31, 15}),
    Command(m::kBuzzerTest, "蜂鸣测试", {312, 268, 31, 15}),
    Command(m::kVoiceTest, "语音测试", {349, 268, 31, 15}),
};

// Icon 128 is drawn at its own size (32 x 32 pixels); the rectangle gives its place.
constexpr std::array kAboutControls{
    ControlDef{0, K::Icon, {}, {}, {11, 17, 20, 20}},
    L(0, K::StaticText, kAboutVersion, {40, 10, 119, 8}),
    L(0, K::StaticText, kAboutLine2, {40, 25, 119, 8}),
    L(1, K::PushButton, kAboutOk, {178, 7, 50, 14}, kDefault),
};

constexpr DialogTemplate kMainWindow{102, kMainCaption, 10, 467, 289, kMainControls};
constexpr DialogTemplate kAbout{100, kAboutCaption, 9, 235, 55, kAboutControls};

constexpr size_t CountCommandSet()
{
    size_t n = 0;
    for (const ControlDef& c : kMainControls) n += (c.flags & kCommandSet) != 0;
    return n;
}

constexpr auto kCommandSetIds = [] {
    std::array<int, CountCommandSet()> ids{};
    size_t n = 0;
    for (const ControlDef& c : kMainControls)
        if (c.flags & kCommandSet) ids[n++] = c.id;
    return ids;
}();
} // namespace

const DialogTemplate& MainWindowTemplate() { return kMainWindow; }
const DialogTemplate& AboutTemplate() { return kAbout; }

std::span<const int> CommandSetIds() { return kCommandSetIds; }

} // namespace tallyx
