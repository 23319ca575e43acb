// The QR code dialog's wiring: controls and defaults, the chosen items and the content
// reaching the command, the messages, the port, and Return that closes nothing.
#include <QTest>

#include "dialogs/CQrCodeDlg.h"
#include "tests/dialogs/SymbolDlgFixture.h"

using namespace tallyx;
using namespace tallyx::test;

namespace {

using QrCodeDlgTest = SymbolDlgTest<CQrCodeDlg>;

const std::string kPrintTail = "1B 61 31 1D 28 6B 03 00 31 51 30 1B 61 30";

} // namespace

TEST_F(QrCodeDlgTest, ControlsAndDefaults)
{
    ExpectLook("QR_Dialog", 283, 173, {{1002, "放大倍数:"}, {1012, "纠错级别:"}, {1004, "内容输入:"}, {1003, "Send Data"}});
    EXPECT_EQ(Items(1002), (Strings{"1", "2", "3", "4", "5", "6", "7", "8"}));
    EXPECT_EQ(Items(1012), (Strings{"级别L", "级别M", "级别Q", "级别H"}));
    EXPECT_EQ(Combo(1002)->currentText(), "8");
    EXPECT_EQ(Combo(1012)->currentText(), "级别M");
    EXPECT_EQ(dialog.g_qrModuleSizeIndex, 7);
    EXPECT_EQ(dialog.g_qrEccIndex, 1);
    EXPECT_FALSE(Combo(1002)->isEditable());
    EXPECT_FALSE(Combo(1012)->isEditable());
    EXPECT_NE(qobject_cast<QPlainTextEdit*>(dialog.Control(1004)), nullptr);
    EXPECT_EQ(TextOf(1004), "");
    Select(1002, "3");
    dialog.UpdateData(true);
    EXPECT_EQ(dialog.g_qrModuleSizeIndex, 2);
    EXPECT_EQ(CQrCodeDlg(sender, nullptr).g_qrModuleSizeIndex, 7);
}

TEST_F(QrCodeDlgTest, AbcWithTheDefaults)
{
    Type(1004, "abc");
    Press(1003);
    EXPECT_EQ(Writes(), Strings{"1D 28 6B 03 00 31 43 08 1D 28 6B 03 00 31 45 01 1D 28 6B 06 00 31 50 30 61 62 63 " +
                                kPrintTail});
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_EQ(TextOf(1004), "abc");
}

TEST_F(QrCodeDlgTest, ChosenSizeAndLevelAndLinesReachTheCommand)
{
    Select(1002, "1");
    Select(1012, "级别H");
    Type(1004, "a\nb");
    Press(1003);
    EXPECT_EQ(Writes(), Strings{"1D 28 6B 03 00 31 43 01 1D 28 6B 03 00 31 45 03 1D 28 6B 07 00 31 50 30 61 0D 0A 62 " +
                                kPrintTail});
    // The choices stay for the next press.
    EXPECT_EQ(Combo(1002)->currentText(), "1");
    EXPECT_EQ(Combo(1012)->currentText(), "级别H");
    Reset();
    Select(1012, "级别L");
    Type(1004, "中文");
    Press(1003);
    EXPECT_EQ(Writes(), Strings{"1D 28 6B 03 00 31 43 01 1D 28 6B 03 00 31 45 00 1D 28 6B 07 00 31 50 30 D6 D0 CE C4 " +
                                kPrintTail});
}

TEST_F(QrCodeDlgTest, ContentLimits)
{
    Type(1004, QString(500, 'q'));
    Press(1003);
    ASSERT_EQ(Writes().size(), 1u);
    EXPECT_EQ((Writes()[0].size() + 1) / 3, 538u);
    EXPECT_EQ(Writes()[0].substr(48, 23), "1D 28 6B F7 01 31 50 30");
    // 249 lines of one letter: 249 + 248 line breaks of two bytes each = 745 bytes.
    QStringList lines;
    for (int i = 0; i < 249; ++i) lines << "q";
    ExpectContentRefusals(1004, 1003,
                          {
                              {QString(501, 'q'), "QR_DIALOG|Input too long!"},
                              {lines.join('\n'), "QR_DIALOG|Input too long!"},
                              {QString(250, QChar(0x4E2D)) + "A", "QR_DIALOG|Input too long!"},
                              {QString(), "QR_DIALOG|Input NULL!"},
                          });
    // Two-byte line breaks: 167 lines of "q" and 166 breaks are exactly 499 bytes.
    Reset();
    lines.clear();
    for (int i = 0; i < 167; ++i) lines << "q";
    Type(1004, lines.join('\n'));
    Press(1003);
    ASSERT_EQ(Writes().size(), 1u);
    EXPECT_EQ(Writes()[0].substr(48, 23), "1D 28 6B F6 01 31 50 30");
}

TEST_F(QrCodeDlgTest, BrokenPortIsReportedBeforeTheContent)
{
    for (const QString& content : {QString(), QString("abc"), QString(501, 'q')}) {
        SCOPED_TRACE(content.size());
        Type(1004, content);
        ExpectPortBusyOnPress(dialog.Control(1003));
    }
}

TEST_F(QrCodeDlgTest, OverTheNetworkTheCommandIsOneDirectConnection)
{
    host.port = "Ethernet";
    link.ReopenPort();
    Type(1004, "abc");
    Press(1003);
    ASSERT_EQ(platform.sockets.size(), 1u);
    EXPECT_EQ(platform.sockets[0].size(), 41u);
}

TEST_F(QrCodeDlgTest, ReturnClosesNothingEscCloses)
{
    dialog.show();
    QTest::keyClick(dialog.Control(1002), Qt::Key_Return);
    EXPECT_TRUE(dialog.isVisible());
    QTest::keyClick(dialog.Control(1004), Qt::Key_Return);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(TextOf(1004), "\n");   // Return makes a new line in the content
    dialog.accept();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_TRUE(platform.calls.empty());
    EXPECT_TRUE(boxes.shown.empty());   // Send Data was not pressed either
    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
}
