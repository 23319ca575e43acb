// The barcode dialog's wiring: its controls and defaults, the chosen items and numbers
// reaching the command, the hint, the corrections shown back, the messages and the port.
#include <QAccessible>
#include <QLabel>
#include <QTest>
#include <tuple>

#include "dialogs/CBarCodeDlg.h"
#include "tests/dialogs/SymbolDlgFixture.h"
#include "tests/support/LinkAccess.h"

using namespace tallyx;
using namespace tallyx::test;

namespace {

using BarCodeDlgTest = SymbolDlgTest<CBarCodeDlg>;

const std::string kDefaultSetUp = "1D 48 02 1D 66 00 1D 68 60 1D 77 03 1D 78 00 ";

} // namespace

TEST_F(BarCodeDlgTest, ControlsAndDefaults)
{
    ExpectLook("BarCode", 266, 177,
               {{1002, "识别码:"}, {1004, "识别码字体:"}, {1006, "条码类型:"}, {1077, "条码高度:"}, {1078, "条码宽度:"},
                {1079, "条码左边距:"}, {1057, "请输入11或12个数字"}, {1014, "输入框:"}, {1007, "条码打印"}});
    EXPECT_EQ(Items(1002), (Strings{"无", "上面", "下面", "上下"}));
    EXPECT_EQ(Items(1004), (Strings{"12X24", "9X17", "9X24"}));
    EXPECT_EQ(Items(1006), (Strings{"UPC-A", "UPC-E", "EAN13(JAN13)", "JAN8", "CODE39", "ITF", "CODEBAR", "CODE93",
                                    "CODE128"}));
    EXPECT_EQ(Combo(1002)->currentText(), "下面");
    EXPECT_EQ(Combo(1004)->currentText(), "12X24");
    EXPECT_EQ(Combo(1006)->currentText(), "UPC-A");
    for (int id : {1002, 1004, 1006}) EXPECT_FALSE(Combo(id)->isEditable()) << id;
    EXPECT_EQ(TextOf(1077), "96");
    EXPECT_EQ(TextOf(1078), "3");
    EXPECT_EQ(TextOf(1079), "0");
    EXPECT_EQ(TextOf(1014), "");
    EXPECT_EQ(qobject_cast<QLabel*>(dialog.Control(1057))->text(), "请输入11或12个数字");
    EXPECT_EQ(qobject_cast<QPushButton*>(dialog.Control(1007))->text(), "条码打印");
    EXPECT_EQ(qobject_cast<QLineEdit*>(dialog.Control(1077))->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    EXPECT_EQ(dialog.Control(1014)->geometry(), DialogUnits(DialogFont(10)).ToPixels({10, 116, 246, 14}));
    EXPECT_EQ(dialog.g_hriPosition, 2);
    EXPECT_EQ(dialog.g_symbology, 0);
}

TEST_F(BarCodeDlgTest, DefaultsPrintElevenDigitUpcA)
{
    Type(1014, "12345678901");
    Press(1007);
    EXPECT_EQ(Writes(), Strings{kDefaultSetUp + "1D 6B 41 0B 31 32 33 34 35 36 37 38 39 30 31"});
    EXPECT_TRUE(boxes.shown.empty());
    // Serial: the port is reopened twice after the write.
    EXPECT_EQ(std::count(platform.calls.begin(), platform.calls.end(), "open COM1"), 2);
}

TEST_F(BarCodeDlgTest, ChosenItemsReachTheCommand)
{
    Select(1002, "上下");
    Select(1004, "9X24");
    Select(1006, "CODE128");
    Type(1014, "中文");
    Press(1007);
    EXPECT_EQ(Writes(), Strings{"1D 48 03 1D 66 02 1D 68 60 1D 77 03 1D 78 00 1D 6B 49 04 D6 D0 CE C4"});
    EXPECT_EQ(Combo(1002)->currentText(), "上下");   // the choices stay after the print
}

TEST_F(BarCodeDlgTest, HintFollowsTheSymbology)
{
    const std::pair<const char*, const char*> rows[] = {
        {"UPC-E", "请输入6或7个数字"},
        {"EAN13(JAN13)", "请输入12或13个数字"},
        {"JAN8", "请输入7或8个数字"},
        {"CODE39", "请输入数字或大写英文字母或包括字符-.$/+% *"},
        {"ITF", "请输入数字字符串"},
        {"CODEBAR", "起始符或终止符为A~D,其余为数字或包括字符$+-./:"},
        {"CODE93", "请输入数字或大写英文字母或包括字符$%+ -./"},
        {"CODE128", "请输入可见字符串"},
        {"UPC-A", "请输入11或12个数字"},
    };
    auto* hint = qobject_cast<QLabel*>(dialog.Control(1057));
    for (const auto& [item, text] : rows) {
        SCOPED_TRACE(item);
        Select(1006, QString::fromUtf8(item));
        EXPECT_EQ(hint->text(), QString::fromUtf8(text));
        // What a screen reader reads is the hint itself, not the label beside it.
        QAccessibleInterface* read = QAccessible::queryAccessibleInterface(hint);
        ASSERT_NE(read, nullptr);
        EXPECT_EQ(read->text(QAccessible::Name), QString::fromUtf8(text));
    }
    EXPECT_TRUE(platform.calls.empty());
}

TEST_F(BarCodeDlgTest, CorrectedNumbersAreShownAfterThePrint)
{
    struct Row {
        const char *height, *width, *margin;
        const char* sent;                 // GS h, GS w, GS x parameters
        const char *shownH, *shownW, *shownM;
    };
    const Row rows[] = {
        {"10", "0", "300", "A2 01 2C", "162", "1", "44"},
        {"256", "9", "-1", "A2 08 FF", "162", "8", "255"},
        {"-5", "-1", "255", "A2 08 FF", "162", "8", "255"},
        {"11", "1", "256", "0B 01 00", "11", "1", "0"},
        {"255", "7", "0", "FF 07 00", "255", "7", "0"},
    };
    Select(1006, "CODE128");
    Type(1014, "1");
    for (const Row& row : rows) {
        SCOPED_TRACE(row.sent);
        Reset();
        Type(1077, row.height);
        Type(1078, row.width);
        Type(1079, row.margin);
        Press(1007);
        const Strings writes = Writes();
        ASSERT_EQ(writes.size(), 1u);
        EXPECT_EQ(writes[0].substr(24, 2) + " " + writes[0].substr(33, 2) + " " + writes[0].substr(42, 2), row.sent);
        EXPECT_EQ(TextOf(1077), row.shownH);
        EXPECT_EQ(TextOf(1078), row.shownW);
        EXPECT_EQ(TextOf(1079), row.shownM);
    }
}

TEST_F(BarCodeDlgTest, RefusalsAreShownAndNothingIsSent)
{
    const std::tuple<const char*, QString, const char*> rows[] = {
        {"UPC-A", "1234567890", "设置错误!字元个数不为11或12"},
        {"UPC-A", "1234567890X", "设置错误!字元不在0~9"},
        {"UPC-E", "12345", "设置错误!字元个数不为6或7"},
        {"EAN13(JAN13)", "1", "设置错误!字元个数不为12或13"},
        {"JAN8", "123456789", "设置错误!字元个数不为7或8"},
        {"CODEBAR", "1234", "设置错误!起始符或终止符不在A~D"},
        {"CODE39", "abc", "设置错误!字元不支持"},
        {"CODE93", "AB*", "设置错误!字元不支持"},
        {"ITF", "1a", "设置错误!字元不在0~9"},
        {"CODE128", "", "请输入数据!"},
        {"CODE128", QString(256, 'x'), "输入的数据太多了!"},
        {"CODE128", QString(128, QChar(0x4E2D)), "输入的数据太多了!"},   // 256 GBK bytes
    };
    for (const auto& [type, data, message] : rows) {
        SCOPED_TRACE(message);
        Reset();
        Select(1006, QString::fromUtf8(type));
        Type(1014, data);
        Type(1077, "10");
        ExpectRefusal(1007, std::string("BarCode|") + message);
        // The data stays, and so does the uncorrected height.
        EXPECT_EQ(TextOf(1014), data);
        EXPECT_EQ(TextOf(1077), "10");
    }
}

TEST_F(BarCodeDlgTest, BrokenPortIsReportedBeforeAnyDataCheck)
{
    for (const QString& data : {QString(), QString("12"), QString(300, '1')}) {
        SCOPED_TRACE(data.size());
        Type(1014, data);
        ExpectPortBusyOnPress(dialog.Control(1007));
    }
}

TEST_F(BarCodeDlgTest, NumberThatIsNoIntegerKeepsItsValueAndThePrintGoesOn)
{
    Select(1006, "ITF");
    Type(1014, "12");
    Type(1077, "tall");
    Type(1078, "5");
    Press(1007);
    EXPECT_EQ(Shown(), Strings{"tallyx|请输入一个整数。"});
    EXPECT_EQ(Writes(), Strings{"1D 48 02 1D 66 00 1D 68 60 1D 77 05 1D 78 00 1D 6B 46 02 31 32"});
    EXPECT_EQ(TextOf(1077), "96");
    EXPECT_EQ(dialog.g_barWidth, 5);
    for (const char* text : {"", "1.5", "99999999999", "+", "1 2"}) {
        SCOPED_TRACE(text);
        Reset();
        Type(1079, text);
        Press(1007);
        EXPECT_EQ(Shown(), Strings{"tallyx|请输入一个整数。"});
        EXPECT_EQ(Writes().size(), 1u);
        EXPECT_EQ(TextOf(1079), "0");
    }
    for (const char* text : {" 7 ", "+7", "007"}) {
        SCOPED_TRACE(text);
        Reset();
        Type(1079, text);
        Press(1007);
        EXPECT_TRUE(boxes.shown.empty());
        EXPECT_EQ(TextOf(1079), "7");
    }
}

TEST_F(BarCodeDlgTest, OverTheNetworkTheCommandIsOneDirectConnection)
{
    host.port = "Ethernet";
    link.ReopenPort();
    Select(1006, "CODE128");
    Type(1014, QString(255, 'x'));
    Press(1007);
    ASSERT_EQ(platform.sockets.size(), 1u);
    EXPECT_EQ(platform.sockets[0].size(), 274u);
    EXPECT_EQ(LinkTestAccess::NetLen(link), 274);
}

TEST_F(BarCodeDlgTest, EveryOpeningStartsFromTheDefaults)
{
    Select(1002, "无");
    Select(1006, "JAN8");
    Type(1077, "200");
    dialog.UpdateData(true);
    EXPECT_EQ(dialog.g_barHeight, 200);
    CBarCodeDlg second(sender, nullptr);
    EXPECT_EQ(second.g_hriPosition, 2);
    EXPECT_EQ(second.g_hriFont, 0);
    EXPECT_EQ(second.g_symbology, 0);
    EXPECT_EQ(second.g_barHeight, 96);
    EXPECT_EQ(second.g_barWidth, 3);
    EXPECT_EQ(second.g_barLeftMargin, 0);
}

TEST_F(BarCodeDlgTest, ReturnAwayFromAButtonClosesEscCloses)
{
    dialog.show();
    QTest::keyClick(dialog.Control(1014), Qt::Key_Return);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_TRUE(platform.calls.empty());
    dialog.show();
    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
}
