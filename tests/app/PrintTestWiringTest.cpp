// The print-test box: Send, the " HEX" check box and Clear.
#include <QAccessible>
#include <QCheckBox>
#include <QTest>
#include <QLineEdit>
#include <QPlainTextEdit>

#include "res/MainWindowIds.h"
#include "tests/app/AppFixture.h"

namespace tallyx::test {
namespace {

class PrintTestWiring : public AppTest {
protected:
    void SetText(const QString& text) { PrintBox()->setPlainText(text); }
    QString Text() const { return PrintBox()->toPlainText(); }
    void ConnectSerial()
    {
        ConnectOn("COM1");
        platform.calls.clear();
    }
};

TEST_F(PrintTestWiring, SendsTheDefaultTextAsGbkWithCrLf)
{
    ConnectSerial();
    Press(id::main::kSendText);
    ASSERT_EQ(platform.Writes().size(), 1u);
    EXPECT_EQ(platform.Writes()[0],
              "31 32 33 34 35 36 37 38 39 30 41 42 43 44 45 46 47 48 49 4A 4B 4C 4D 4E 4F 50 51 52 53 54 55 56 0D 0A "
              "57 58 59 5A 61 62 63 64 65 66 67 6A 69 6C 6B 6C 6D 6E 6F 70 71 72 73 74 75 76 77 78 79 7A 26 2A 0D 0A "
              "5A 6F 72 76 69 6B B4 F2 D3 A1 BB FA C6 B7 C5 C6 0D 0A");
}

TEST_F(PrintTestWiring, SendsTheTextCountTimes)
{
    ConnectSerial();
    SetText("ABC");
    SendCount()->setText("2");
    Press(id::main::kSendText);
    EXPECT_EQ(platform.Writes(), (std::vector<std::string>{"41 42 43", "41 42 43"}));
    SendCount()->setText("0");
    platform.calls.clear();
    Press(id::main::kSendText);
    EXPECT_TRUE(platform.calls.empty());
    EXPECT_TRUE(Shown().empty());
}

TEST_F(PrintTestWiring, SendsHexTextAsBytes)
{
    ConnectSerial();
    HexBox()->setChecked(true);
    const struct {
        const char* text;
        const char* bytes;
    } rows[] = {{"1B 40 0A", "1B 40 0A"}, {"1b400a", "1B 40 0A"}, {"A 1", "0A 01"}, {"123", "12 03"}, {"\n  41", "41"}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.text);
        SetText(row.text);
        platform.calls.clear();
        Press(id::main::kSendText);
        EXPECT_EQ(platform.Writes(), (std::vector<std::string>{row.bytes}));
    }
    EXPECT_TRUE(Shown().empty());
}

TEST_F(PrintTestWiring, BadHexOnSendIsReportedAndNothingSent)
{
    ConnectSerial();
    HexBox()->setChecked(true);
    SetText("4G");
    Press(id::main::kSendText);
    EXPECT_EQ(Shown(), (std::vector<std::string>{"错误|十六进制字符输入有错误!"}));
    EXPECT_TRUE(platform.calls.empty());
}

TEST_F(PrintTestWiring, RefusesTextOf24575Bytes)
{
    ConnectSerial();
    SetText(QString(24575, 'A'));
    Press(id::main::kSendText);
    EXPECT_EQ(Shown(), (std::vector<std::string>{"tallyx|输入太多了!"}));
    EXPECT_TRUE(platform.calls.empty());
    SetText(QString(24574, 'A'));
    Press(id::main::kSendText);
    ASSERT_EQ(platform.Writes().size(), 1u);
    EXPECT_EQ(platform.Writes()[0].size(), 24574u * 3 - 1);
    EXPECT_EQ(Shown().size(), 1u);
}

TEST_F(PrintTestWiring, HexBoxRoundTripsChineseText)
{
    SetText("中文");
    HexBox()->click();
    EXPECT_TRUE(HexBox()->isChecked());
    EXPECT_EQ(Text(), "D6 D0 CE C4 ");
    HexBox()->click();
    EXPECT_FALSE(HexBox()->isChecked());
    EXPECT_EQ(Text(), "中文");
    EXPECT_TRUE(Shown().empty());
}

TEST_F(PrintTestWiring, HexBoxKeepsLineBreaksAsCrLf)
{
    SetText("AB\nC");
    HexBox()->click();
    EXPECT_EQ(Text(), "41 42 0D 0A 43 ");
    HexBox()->click();
    EXPECT_EQ(Text(), "AB\nC");
}

TEST_F(PrintTestWiring, ClearingTheHexBoxStopsAtA00Byte)
{
    HexBox()->setChecked(true);
    SetText("41 00 42");
    HexBox()->click();
    EXPECT_FALSE(HexBox()->isChecked());
    EXPECT_EQ(Text(), "A");
}

TEST_F(PrintTestWiring, BadHexWhenClearingTheBoxKeepsTheText)
{
    HexBox()->setChecked(true);
    SetText("4G");
    HexBox()->click();
    EXPECT_EQ(Shown(), (std::vector<std::string>{"错误|十六进制字符输入有错误!"}));
    EXPECT_EQ(boxes.shown[0].owner, dlg.get());
    EXPECT_EQ(Text(), "4G");
    EXPECT_FALSE(HexBox()->isChecked());
}

TEST_F(PrintTestWiring, EmptyTextOnlyFlipsTheBox)
{
    SetText("");
    HexBox()->click();
    EXPECT_TRUE(HexBox()->isChecked());
    EXPECT_EQ(Text(), "");
    EXPECT_TRUE(Shown().empty());
}

TEST_F(PrintTestWiring, ClearEmptiesTheBoxAndLeavesHexTicked)
{
    HexBox()->setChecked(true);
    Press(id::main::kClear);
    EXPECT_EQ(Text(), "");
    EXPECT_TRUE(HexBox()->isChecked());
}

TEST_F(PrintTestWiring, ClearReportsABadCountAndShowsTheKeptOne)
{
    SendCount()->setText("x");
    Press(id::main::kClear);
    EXPECT_EQ(Shown(), (std::vector<std::string>{"tallyx|请输入一个无符号整数。"}));
    EXPECT_EQ(SendCount()->text(), "1");
}

} // namespace
} // namespace tallyx::test

namespace tallyx::test {
namespace {

// Back and forth between HEX and text, the bytes stay what they were.
TEST_F(PrintTestWiring, HexRoundTripKeepsEveryByte)
{
    ConnectSerial();
    const char* rows[] = {"1D 21 0A ", "0A ", "0D ", "FF ", "41 0D 0A 42 ", "D6 D0 CE C4 "};
    for (const char* hex : rows) {
        SCOPED_TRACE(hex);
        HexBox()->setChecked(true);
        SetText(hex);
        HexBox()->click();          // to text
        EXPECT_FALSE(HexBox()->isChecked());
        platform.calls.clear();
        Press(id::main::kSendText);
        ASSERT_EQ(platform.Writes().size(), 1u);
        EXPECT_EQ(platform.Writes()[0] + " ", hex);
        HexBox()->click();          // and back to hexadecimal
        EXPECT_EQ(Text().toStdString(), hex);
    }
    // A Return typed by the operator is still CR LF.
    HexBox()->setChecked(false);
    SetText("A");
    QTest::keyClick(PrintBox(), Qt::Key_End, Qt::ControlModifier);
    QTest::keyClick(PrintBox(), Qt::Key_Return);
    QTest::keyClicks(PrintBox(), "B");
    HexBox()->click();
    EXPECT_EQ(Text().toStdString(), "41 0D 0A 42 ");
}

// A screen reader toggles the box through its accessible action, which clicks nothing.
TEST_F(PrintTestWiring, AssistiveToggleConvertsTheText)
{
    SetText("AB");
    QAccessibleInterface* box = QAccessible::queryAccessibleInterface(HexBox());
    ASSERT_NE(box, nullptr);
    ASSERT_NE(box->actionInterface(), nullptr);
    box->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    EXPECT_TRUE(HexBox()->isChecked());
    EXPECT_EQ(Text().toStdString(), "41 42 ");
    box->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    EXPECT_FALSE(HexBox()->isChecked());
    EXPECT_EQ(Text().toStdString(), "AB");
}

} // namespace
} // namespace tallyx::test
