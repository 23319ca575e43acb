// The voice chip dialog's wiring: prompt stepping reaches the link, the amount's refusals
// reach the boxes, a broken port stops every press before anything moves.
#include <QLineEdit>
#include <QTest>
#include <tuple>

#include "dialogs/CVoiceTestDlg.h"
#include "tests/dialogs/MaintenanceDlgFixture.h"

using namespace tallyx;
using namespace tallyx::test;

namespace {

class VoiceTestDlgTest : public MaintenanceDlgTest {
protected:
    void Press(int id) { MaintenanceDlgTest::Press(dialog.Control(id)); }
    void Type(const QString& text) { qobject_cast<QLineEdit*>(dialog.Control(1014))->setText(text); }
    CVoiceTestDlg dialog{sender, nullptr};
};

} // namespace

TEST_F(VoiceTestDlgTest, FirstPressEitherWayPlaysVoiceOne)
{
    EXPECT_EQ(dialog.windowTitle(), "语音芯片测试");
    Press(1003);
    EXPECT_EQ(Writes(), Strings{"1F 12 10 01"});
    CVoiceTestDlg other(sender, nullptr);
    platform.calls.clear();
    MaintenanceDlgTest::Press(other.Control(1006));
    EXPECT_EQ(Writes(), Strings{"1F 12 10 01"});
}

TEST_F(VoiceTestDlgTest, NextStopsAtTwentyTwoPreviousAtOne)
{
    for (int i = 0; i < 30; ++i) Press(1006);
    ASSERT_EQ(Writes().size(), 30u);
    EXPECT_EQ(Writes()[20], "1F 12 10 15");
    EXPECT_EQ(Writes()[21], "1F 12 10 16");
    EXPECT_EQ(Writes().back(), "1F 12 10 16");
    platform.calls.clear();
    Press(1003);
    EXPECT_EQ(Writes(), Strings{"1F 12 10 15"});
    for (int i = 0; i < 25; ++i) Press(1003);
    EXPECT_EQ(Writes().back(), "1F 12 10 01");
    EXPECT_EQ(dialog.g_voiceIndex, 1u);
}

TEST_F(VoiceTestDlgTest, BrokenPortLeavesThePromptWhereItWas)
{
    Press(1006);
    Press(1006);
    for (int id : {1003, 1006, 1007}) {
        SCOPED_TRACE(id);
        Type("");   // an empty amount would be refused, but the port comes first
        ExpectPortBusyOnPress(dialog.Control(id));
        EXPECT_EQ(dialog.g_voiceIndex, 2u);
    }
}

// An accepted amount is sent exactly as typed; a refused one is shown by the dialog, sends
// nothing and stays in the edit.
TEST_F(VoiceTestDlgTest, AmountSentAsTypedOrRefused)
{
    const std::tuple<const char*, const char*, const char*> rows[] = {
        {"12.50", "1F 13 05 31 32 2E 35 30", nullptr},
        {".", "1F 13 01 2E", nullptr},
        {"1.2.3", "1F 13 05 31 2E 32 2E 33", nullptr},
        {"9999999.99", "1F 13 0A 39 39 39 39 39 39 39 2E 39 39", nullptr},
        {"", nullptr, "声音测试|请输入金额数据!"},
        {"123456789012", nullptr, "声音测试|输入的数字太多了!"},
        {"12a", nullptr, "声音测试|输入的金额数字非法!"},
        {"10000000", nullptr, "声音测试|输入的金额超出范围了!"},
        {"壹佰", nullptr, "声音测试|输入的金额数字非法!"},
    };
    for (const auto& [amount, written, shown] : rows) {
        SCOPED_TRACE(amount);
        Reset();
        Type(QString::fromUtf8(amount));
        Press(1007);
        EXPECT_EQ(Writes(), written ? Strings{written} : Strings{});
        EXPECT_EQ(Shown(), shown ? Strings{shown} : Strings{});
        if (shown) {
            EXPECT_EQ(boxes.shown[0].owner, &dialog);
            EXPECT_EQ(qobject_cast<QLineEdit*>(dialog.Control(1014))->text(), QString::fromUtf8(amount));
        }
    }
    EXPECT_EQ(dialog.g_voiceIndex, 0u);
}

TEST_F(VoiceTestDlgTest, ReturnKeepsTheDialogOpen)
{
    dialog.show();
    QTest::keyClick(dialog.Control(1014), Qt::Key_Return);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_TRUE(Writes().empty());
}
