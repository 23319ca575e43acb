// The code page dialog's wiring: the selected position reaches the set command, each
// button reaches the link, a broken port stops all three.
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>

#include "dialogs/CCodePageDlg.h"
#include "tests/dialogs/MaintenanceDlgFixture.h"

using namespace tallyx;
using namespace tallyx::test;

namespace {

class CodePageDlgTest : public MaintenanceDlgTest {
protected:
    QComboBox* List() const { return qobject_cast<QComboBox*>(dialog.Control(1002)); }
    void Press(int id) { MaintenanceDlgTest::Press(dialog.Control(id)); }
    CCodePageDlg dialog{sender, nullptr};
};

} // namespace

TEST_F(CodePageDlgTest, ListsTheSeventyFiveCodePagesWithTheFirstSelected)
{
    EXPECT_EQ(dialog.windowTitle(), "Set CodePage");
    ASSERT_EQ(List()->count(), 75);
    EXPECT_EQ(List()->currentIndex(), 0);
    EXPECT_EQ(List()->itemText(0), "0:OEM437(std.Europe)(1)");
    EXPECT_EQ(List()->itemText(11), "16:WPC1252");
    EXPECT_EQ(List()->itemText(70), "93:OEM720(Arabic)");
    EXPECT_EQ(List()->itemText(74), "255:(Thai)");
    EXPECT_TRUE(List()->isEditable());
    EXPECT_EQ(qobject_cast<QPushButton*>(dialog.Control(1006))->text(), "Set CodePage");
    EXPECT_EQ(qobject_cast<QPushButton*>(dialog.Control(1003))->text(), "Print Current CodePage");
    EXPECT_EQ(qobject_cast<QPushButton*>(dialog.Control(1007))->text(), "Print SelfTest");
}

TEST_F(CodePageDlgTest, SetSendsTheSelectedCodePageThenReopensTheSerialPortTwice)
{
    const struct {
        int position;
        const char* expected;
    } rows[] = {
        {0, "1F 1B 1F FF 00 0A 0A"}, {11, "1F 1B 1F FF 10 0A 0A"}, {70, "1F 1B 1F FF 5D 0A 0A"}, {74, "1F 1B 1F FF FF 0A 0A"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.position);
        platform.calls.clear();
        List()->setCurrentIndex(row.position);
        Press(1006);
        EXPECT_EQ(platform.calls, (Strings{std::string("write ") + row.expected, "close", "open COM1", "configure 9600",
                                           "close", "open COM1", "configure 9600"}));
    }
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(CodePageDlgTest, TypedTextSelectsNothingAndNothingIsSent)
{
    List()->setCurrentIndex(5);
    List()->lineEdit()->setText("437");
    Press(1006);
    EXPECT_EQ(dialog.g_codePageIndex, -1);
    EXPECT_TRUE(Writes().empty());
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(CodePageDlgTest, ChartAndSelfTestIgnoreTheList)
{
    List()->lineEdit()->setText("nothing");
    Press(1003);
    ASSERT_EQ(Writes().size(), 1u);
    EXPECT_EQ(Writes()[0].size(), 277u * 3 - 1);
    EXPECT_EQ(Writes()[0].substr(0, 26), "1B 40 1C 2E 1B 21 00 80 81");
    platform.calls.clear();
    Press(1007);
    EXPECT_EQ(Writes(), Strings{"1F 11 04"});
}

TEST_F(CodePageDlgTest, BrokenPortStopsEveryButton)
{
    for (int id : {1006, 1003, 1007}) {
        SCOPED_TRACE(id);
        ExpectPortBusyOnPress(dialog.Control(id));
    }
}

TEST_F(CodePageDlgTest, OverTheNetworkTheCommandIsSentBeforeThePressReturns)
{
    host.port = "Ethernet";
    link.ReopenPort();
    List()->setCurrentIndex(70);
    Press(1006);
    ASSERT_EQ(platform.sockets.size(), 1u);
    EXPECT_EQ(Hex(platform.sockets[0]), "1F 1B 1F FF 5D 0A 0A");
}

TEST_F(CodePageDlgTest, ReturnKeepsTheDialogOpenEscClosesIt)
{
    dialog.show();
    QTest::keyClick(List(), Qt::Key_Return);
    EXPECT_TRUE(dialog.isVisible());
    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
}
