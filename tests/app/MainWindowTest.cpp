// The main window as it opens: contents, states, names and places of its controls.
#include <QAbstractButton>
#include <QComboBox>
#include <QFontInfo>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include "res/MainWindowIds.h"
#include "tests/app/AppFixture.h"
#include "ui/IpAddressCtrl.h"

namespace tallyx::test {
namespace {

using MainWindowStart = AppTest;

QStringList Items(QComboBox* combo)
{
    QStringList out;
    for (int i = 0; i < combo->count(); ++i) out << combo->itemText(i);
    return out;
}

TEST_F(MainWindowStart, ShowsTheDefaults)
{
    EXPECT_EQ(dlg->windowTitle(), "Tallyx-V1.02");
    EXPECT_EQ(ComboAt(id::main::kPort)->currentText(), "USB");
    EXPECT_FALSE(ComboAt(id::main::kBaud)->isEnabled());
    EXPECT_FALSE(AddressAt(id::main::kPrinterAddress)->isEnabled());
    EXPECT_EQ(AddressAt(id::main::kPrinterAddress)->Text(), "192.168.1.100");
    EXPECT_EQ(SendCount()->text(), "1");
    EXPECT_EQ(ComboAt(id::main::kDhcp)->currentText(), "NO");
    EXPECT_EQ(qobject_cast<QAbstractButton*>(Ctl(id::main::kConnect))->text(), "连 接");
    EXPECT_EQ(PrintBox()->toPlainText(),
              "1234567890ABCDEFGHIJKLMNOPQRSTUV\nWXYZabcdefgjilklmnopqrstuvwxyz&*\nZorvik打印机品牌\n");
    for (int id : {1022, 1023, 1024, 1025}) EXPECT_TRUE(AddressAt(id)->IsBlank()) << id;
    EXPECT_EQ(dlg->g_sendCount, 1u);
    EXPECT_EQ(dlg->g_dhcpIndex, 0);
    EXPECT_FALSE(dlg->GetLink().IsConnected());
    EXPECT_FALSE(dlg->windowIcon().isNull());
}

TEST_F(MainWindowStart, FillsTheCombos)
{
    const struct {
        int id;
        QStringList items;
        QString selected;
        bool editable;
    } rows[] = {
        {1001, {"COM1", "COM2", "COM3", "COM4", "USB", "Ethernet"}, "USB", true},
        {1002, {"4800", "9600", "19200", "38400", "57600", "115200"}, "115200", true},
        {1032, {"ASCII", "Chinese"}, "ASCII", false},
        {1033, {"ON", "OFF"}, "ON", false},
        {1034, {"ON", "OFF"}, "ON", false},
        {1035, {"Level1", "Level2", "Level3", "Level4"}, "Level3", false},
        {1046, {"4800", "9600", "19200", "38400", "57600", "115200"}, "115200", false},
        {1049, {"Font_1", "Font_2", "Font_3"}, "Font_1", false},
        {1061, {"左对齐", "居中对齐", "右对齐"}, "左对齐", false},
        {1062, {"1倍", "2倍", "3倍", "4倍"}, "1倍", false},
        {1076, {"NO", "YES"}, "NO", false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.id);
        EXPECT_EQ(Items(ComboAt(row.id)), row.items);
        EXPECT_EQ(ComboAt(row.id)->currentText(), row.selected);
        EXPECT_EQ(ComboAt(row.id)->isEditable(), row.editable);
    }
}

TEST_F(MainWindowStart, DisablesEveryCommandAndDialogButton)
{
    const int disabled[] = {1041, 1043, 1044, 1042, 1040, 1077, 1045, 1047, 1048, 1039, 1018, 1019, 1051, 1053, 1054,
                            1056, 1057, 1058, 1059, 1060, 1067, 1068, 1069, 1070, 1073, 1078, 1071, 1079, 1080};
    for (int id : disabled) EXPECT_FALSE(Ctl(id)->isEnabled()) << id;
    const int usable[] = {1001, 1003, 1022, 1023, 1024, 1025, 1076, 1032, 1033, 1034, 1035, 1046, 1049,
                          1061, 1062, 1055, 1050, 1074, 1075};
    for (int id : usable) EXPECT_TRUE(Ctl(id)->isEnabled()) << id;
}

TEST_F(MainWindowStart, HidesTheTwoTriggerButtonsOnly)
{
    for (QAbstractButton* button : dlg->findChildren<QAbstractButton*>()) {
        const QString id = button->objectName();
        SCOPED_TRACE(id.toStdString());
        EXPECT_EQ(button->isHidden(), id == "1031" || id == "1052");
        if (auto* push = qobject_cast<QPushButton*>(button)) {
            EXPECT_EQ(push->isFlat(), id != "1031" && id != "1052");
        }
    }
}

TEST_F(MainWindowStart, NamesEveryControlForAssistiveTools)
{
    const struct {
        int id;
        const char* name;
    } rows[] = {
        {1009, "波特率"}, {1001, "端口"}, {1002, "波特率"}, {1003, "连 接"}, {1020, "打印机IP地址"},
        {1021, "打印机IP地址"}, {1022, "IP"}, {1023, "网关"}, {1024, "子网掩码"}, {1039, "保  存"},
        {1031, "hhh"}, {1040, "打印自检页"}, {1041, "设置打印模式"}, {1042, "设置打印浓度"},
        {1043, "蜂鸣设置"}, {1044, "切刀设置"}, {1032, "设置打印模式"}, {1033, "蜂鸣设置"},
        {1034, "切刀设置"}, {1035, "设置打印浓度"}, {1045, "串口波特率"}, {1046, "串口波特率"},
        {1047, "恢复出厂设置"}, {1048, "字库设定"}, {1049, "字库设定"}, {1052, "HHH2"}, {1018, "HEX模式"},
        {1055, "打印测试"}, {1019, "发  送"}, {1050, "发送次数"}, {1051, "初始化打印机"},
        {1053, "设置下划线"}, {1054, "设置粗体打印"}, {1056, "设置旋转打印"}, {1057, "设置倒置打印"},
        {1058, "设置黑白打印"}, {1059, "设置对齐方式"}, {1060, "字体放大倍数"}, {1061, "设置对齐方式"},
        {1062, "字体放大倍数"}, {1067, "NV LOGO"}, {1068, "代码页"}, {1069, "一维码"}, {1070, "二维码"},
        {1073, "PDF417"}, {1074, " HEX"}, {1075, "清空"}, {1025, "DNS"}, {1076, "DHCP"},
        {1077, "SelfTest"}, {1078, "切刀测试"}, {1079, "钱箱测试"}, {1080, "蜂鸣测试"}, {1071, "语音测试"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.id);
        QWidget* w = dlg->findChild<QWidget*>(QString::number(row.id));
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(w->accessibleName(), QString::fromUtf8(row.name));
        EXPECT_EQ(w->accessibleDescription(), QString::number(row.id));
    }
    int withId = 0;
    for (QWidget* w : dlg->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (w->accessibleDescription().isEmpty()) {
            EXPECT_FALSE(w->accessibleName().isEmpty()) << "an unnamed label or frame";
            continue;
        }
        ++withId;
    }
    EXPECT_EQ(withId, int(std::size(rows)));
}

TEST_F(MainWindowStart, LabelsThePlainTextsAndFrames)
{
    QStringList labels;
    for (QWidget* w : dlg->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (w->accessibleDescription().isEmpty()) labels << w->accessibleName();
    labels.sort();
    QStringList expected{"端口", "IP", "子网掩码", "网关", "DNS", "DHCP", "发送次数",
                         "端口设置", "本地打印机网络参数设置", "打印机功能参数设置", "打印测试"};
    expected.sort();
    EXPECT_EQ(labels, expected);
}

// The tab order is the template's order.
TEST_F(MainWindowStart, KeepsTheTemplateTabOrder)
{
    const int order[] = {1009, 1001, 1002, 1003, 1020, 1021, 1022, 1023, 1024, 1039, 1031, 1040, 1041, 1042,
                         1043, 1044, 1032, 1033, 1034, 1035, 1045, 1046, 1047, 1048, 1049, 1052, 1018, 1055,
                         1019, 1050, 1051, 1053, 1054, 1056, 1057, 1058, 1059, 1060, 1061, 1062, 1067, 1068,
                         1069, 1070, 1073, 1074, 1075, 1025, 1076, 1077, 1078, 1079, 1080, 1071};
    std::vector<int> seen;
    QWidget* start = Ctl(id::main::kBaudLabel);
    QWidget* w = start;
    do {
        bool isNumber = false;
        const int id = w->objectName().toInt(&isNumber);
        if (isNumber && w->parentWidget() == dlg.get()) seen.push_back(id);
        w = w->nextInFocusChain();
    } while (w != start && seen.size() < 200);
    EXPECT_EQ(seen, std::vector<int>(std::begin(order), std::end(order)));
}

TEST_F(MainWindowStart, UsesACjkDialogFont)
{
    const QString family = QFontInfo(dlg->font()).family();
    EXPECT_TRUE(family == "SimSun" || family == "WenQuanYi Zen Hei") << family.toStdString();
    EXPECT_EQ(dlg->font().pointSize(), 10);
    EXPECT_EQ(PrintBox()->font().pixelSize(), 12);
    EXPECT_EQ(PrintBox()->font().family(), dlg->font().family());
}

TEST_F(MainWindowStart, PlacesControlsInDialogUnits)
{
    const DialogUnits& u = dlg->Units();
    EXPECT_EQ(dlg->size(), QSize(u.X(467), u.Y(289)));
    EXPECT_EQ(dlg->minimumSize(), dlg->maximumSize());
    // Button 1003 at 205,10 size 59 x 18; the address 1021 at 333,12 size 100 x 15.
    EXPECT_EQ(Ctl(id::main::kConnect)->geometry(), QRect(u.X(205), u.Y(10), u.X(264) - u.X(205), u.Y(28) - u.Y(10)));
    EXPECT_EQ(Ctl(id::main::kPrinterAddress)->geometry(), QRect(u.X(333), u.Y(12), u.X(433) - u.X(333), u.Y(27) - u.Y(12)));
    // A drop-down's rectangle holds its list: the field itself stays one line high.
    EXPECT_EQ(Ctl(id::main::kPort)->geometry().topLeft(), QPoint(u.X(37), u.Y(13)));
    EXPECT_LT(Ctl(id::main::kPort)->height(), u.Y(151) / 2);
    // Buttons of one column share their left edge.
    EXPECT_EQ(Ctl(id::main::kPrintMode)->x(), Ctl(id::main::kBuzzer)->x());
    EXPECT_EQ(Ctl(id::main::kPrintMode)->x(), Ctl(id::main::kInit)->x());
}

TEST(DialogUnitsTest, ConvertsWithTheBaseUnits)
{
    // Base units 7 x 14: x = 37 * 7 / 4, rounded; y = 13 * 14 / 8, rounded.
    const DialogUnits u(7, 14);
    EXPECT_EQ(u.ToPixels({37, 13, 47, 151}), QRect(65, 23, 82, 264));
    EXPECT_EQ(u.ToPixels({0, 0, 467, 289}), QRect(0, 0, 817, 506));
    EXPECT_EQ(u.X(1), 2);
    EXPECT_EQ(u.Y(1), 2);
    EXPECT_EQ(u.X(0), 0);
}

} // namespace
} // namespace tallyx::test
