// The named control ids keep the numbers the windows have always had.
#include <gtest/gtest.h>

#include "res/MainWindowIds.h"
#include "res/NvLogoIds.h"

namespace tallyx {
namespace {

struct IdRow {
    const char* name;
    int id;
    int expected;
};

void ExpectRows(std::initializer_list<IdRow> rows)
{
    for (const IdRow& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(row.id, row.expected);
    }
}

TEST(ControlIds, MainWindowPortAndNetwork)
{
    using namespace id::main;
    ExpectRows({
        {"port", kPort, 1001}, {"baud", kBaud, 1002}, {"connect", kConnect, 1003},
        {"baud label", kBaudLabel, 1009}, {"printer address label", kPrinterAddressLabel, 1020},
        {"printer address", kPrinterAddress, 1021}, {"ip", kNetIp, 1022}, {"gateway", kNetGateway, 1023},
        {"mask", kNetMask, 1024}, {"dns", kNetDns, 1025}, {"dhcp", kDhcp, 1076}, {"save", kSave, 1039},
        {"send trigger", kSendTrigger, 1031}, {"reopen", kReopen, 1052},
    });
}

TEST(ControlIds, MainWindowSettingButtonsAndCombos)
{
    using namespace id::main;
    ExpectRows({
        {"selftest page", kSelfTestPage, 1040}, {"factory reset", kFactoryReset, 1047},
        {"print mode", kPrintMode, 1041}, {"print mode combo", kPrintModeCombo, 1032},
        {"density", kDensity, 1042}, {"density combo", kDensityCombo, 1035},
        {"buzzer", kBuzzer, 1043}, {"buzzer combo", kBuzzerCombo, 1033},
        {"cutter", kCutter, 1044}, {"cutter combo", kCutterCombo, 1034},
        {"printer baud", kPrinterBaud, 1045}, {"printer baud combo", kPrinterBaudCombo, 1046},
        {"font", kFont, 1048}, {"font combo", kFontCombo, 1049},
        {"align", kAlign, 1059}, {"align combo", kAlignCombo, 1061},
        {"magnify", kMagnify, 1060}, {"magnify combo", kMagnifyCombo, 1062},
        {"init", kInit, 1051}, {"underline", kUnderline, 1053}, {"bold", kBold, 1054},
        {"rotate", kRotate, 1056}, {"upside down", kUpsideDown, 1057}, {"reverse", kReverse, 1058},
    });
}

TEST(ControlIds, MainWindowTestButtonsAndPrintTestBox)
{
    using namespace id::main;
    ExpectRows({
        {"hex mode", kHexMode, 1018}, {"nv logo", kNvLogo, 1067}, {"code page", kCodePage, 1068},
        {"bar code", kBarCode, 1069}, {"qr code", kQrCode, 1070}, {"voice test", kVoiceTest, 1071},
        {"pdf417", kPdf417, 1073}, {"selftest", kSelfTest, 1077}, {"cutter check", kCutterCheck, 1078},
        {"drawer", kDrawer, 1079}, {"buzzer test", kBuzzerTest, 1080},
        {"print text", kPrintText, 1055}, {"send text", kSendText, 1019}, {"send count", kSendCount, 1050},
        {"hex check", kHex, 1074}, {"clear", kClear, 1075},
    });
}

TEST(ControlIds, NvLogoDialog)
{
    using namespace id::nvlogo;
    ExpectRows({
        {"open bmp", kOpenBmp, 1003}, {"test picture", kTestPicture, 1004}, {"slot", kSlot, 1002},
        {"download", kDownload, 1005}, {"print", kPrint, 1007}, {"clear", kClear, 1008},
        {"preview", kPreview, 1056}, {"mode", kMode, 1078},
    });
}

} // namespace
} // namespace tallyx
