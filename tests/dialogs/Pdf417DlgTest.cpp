// The PDF417 dialog's wiring: its combos filled at opening, the level and ratio combos
// taking turns, the combo texts (chosen or typed) reaching the command, messages, port.
#include <QTest>

#include "dialogs/CPdf417Dlg.h"
#include "tests/dialogs/SymbolDlgFixture.h"

using namespace tallyx;
using namespace tallyx::test;

namespace {

using Pdf417DlgTest = SymbolDlgTest<CPdf417Dlg>;

const std::string kShape = "1D 28 6B 03 00 30 41 00 1D 28 6B 03 00 30 42 00 1D 28 6B 03 00 30 43 03 "
                           "1D 28 6B 03 00 30 44 03 1D 28 6B 03 00 30 46 00 ";
const std::string kPrintTail = "1B 61 31 1D 28 6B 03 00 30 51 30 1B 61 30";

Strings TwoDigits(int first, int last)
{
    Strings out;
    for (int n = first; n <= last; ++n) out.push_back((n < 10 ? "0" : "") + std::to_string(n));
    return out;
}

} // namespace

TEST_F(Pdf417DlgTest, ControlsFilledAtOpening)
{
    ExpectLook("PDF417_Dialog", 280, 158,
               {{1001, "Data region:"}, {1002, "Rows:"}, {1012, "Bar width:"}, {1017, "Row height:"},
                {1019, "Select Options:"}, {1016, "Correction Level: "}, {1018, "Level Setting"}, {1004, "Ratio Setting"},
                {1058, "Content"}, {1003, "Send Data"}});
    Strings rows{"00"};
    for (const std::string& n : TwoDigits(3, 90)) rows.push_back(n);
    const std::tuple<int, Strings, const char*> combos[] = {
        {1001, TwoDigits(0, 30), "00"},
        {1002, rows, "00"},
        {1012, TwoDigits(2, 8), "03"},
        {1017, TwoDigits(2, 16), "03"},
        {1019, {"standard", "truncated"}, "standard"},
        {1016, {"Level Setting", "Ratio Setting"}, "Level Setting"},
        {1018, {"Level-0", "Level-1", "Level-2", "Level-3", "Level-4", "Level-5", "Level-6", "Level-7", "Level-8"},
         "Level-1"},
        {1004, TwoDigits(1, 40), "01"},
    };
    for (const auto& [id, items, selected] : combos) {
        SCOPED_TRACE(id);
        EXPECT_EQ(Items(id), items);
        EXPECT_EQ(TextOf(id), selected);
        EXPECT_TRUE(Combo(id)->isEditable());
    }
    EXPECT_EQ(Items(1002).size(), 89u);
    EXPECT_FALSE(dialog.Control(1018)->isHidden());
    EXPECT_TRUE(dialog.Control(1004)->isHidden());
    EXPECT_EQ(dialog.Control(1018)->geometry(), dialog.Control(1004)->geometry());
}

TEST_F(Pdf417DlgTest, AbcWithTheDefaults)
{
    Type(1058, "abc");
    Press(1003);
    EXPECT_EQ(Writes(), Strings{kShape + "1D 28 6B 04 00 30 45 30 01 1D 28 6B 06 00 30 50 30 61 62 63 " + kPrintTail});
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(Pdf417DlgTest, RatioAndLevelTakeTurns)
{
    Type(1058, "a");
    Select(1016, "Ratio Setting");
    EXPECT_TRUE(dialog.Control(1018)->isHidden());
    EXPECT_FALSE(dialog.Control(1004)->isHidden());
    Select(1004, "05");
    Press(1003);
    EXPECT_EQ(Writes(), Strings{kShape + "1D 28 6B 04 00 30 45 31 05 1D 28 6B 04 00 30 50 30 61 " + kPrintTail});

    Reset();
    Select(1016, "Level Setting");
    EXPECT_FALSE(dialog.Control(1018)->isHidden());
    EXPECT_TRUE(dialog.Control(1004)->isHidden());
    Select(1018, "Level-8");
    Press(1003);
    // The ratio still chosen in its hidden combo is ignored.
    EXPECT_EQ(TextOf(1004), "05");
    EXPECT_EQ(Writes(), Strings{kShape + "1D 28 6B 04 00 30 45 30 08 1D 28 6B 04 00 30 50 30 61 " + kPrintTail});
}

TEST_F(Pdf417DlgTest, TypedTextsAreReadByTheirLeadingNumber)
{
    Type(1001, "300");
    Type(1002, "");
    Type(1012, "7x");
    Type(1017, "-1");
    Select(1019, "truncated");
    Type(1018, "Level-9");
    Type(1058, "a\nb");
    Press(1003);
    EXPECT_EQ(Writes(), Strings{"1D 28 6B 03 00 30 41 2C 1D 28 6B 03 00 30 42 00 1D 28 6B 03 00 30 43 07 "
                                "1D 28 6B 03 00 30 44 FF 1D 28 6B 03 00 30 46 01 1D 28 6B 04 00 30 45 30 01 "
                                "1D 28 6B 07 00 30 50 30 61 0D 0A 62 " + kPrintTail});
    // The typed texts stay as typed.
    EXPECT_EQ(TextOf(1001), "300");
    Reset();
    Type(1016, "Ratio Setting");   // typed, not chosen: the ratio is used, the level combo stays shown
    Type(1004, "40");
    Type(1019, "Truncated");
    Press(1003);
    ASSERT_EQ(Writes().size(), 1u);
    EXPECT_EQ(Writes()[0].substr(3 * 32, 41), "1D 28 6B 03 00 30 46 00 1D 28 6B 04 00 30");
    EXPECT_EQ(Writes()[0].substr(3 * 47, 5), "31 28");
    EXPECT_FALSE(dialog.Control(1018)->isHidden());
}

TEST_F(Pdf417DlgTest, ContentLimitsAndBrokenPort)
{
    Type(1058, QString(500, 'p'));
    Press(1003);
    ASSERT_EQ(Writes().size(), 1u);
    EXPECT_EQ((Writes()[0].size() + 1) / 3, 571u);
    EXPECT_EQ(Writes()[0].substr(3 * 49, 23), "1D 28 6B F7 01 30 50 30");
    // With each refused content still typed, a broken port shows its own message alone: the
    // port is looked at before the content.
    ExpectContentRefusals(1058, 1003,
                          {{QString(501, 'p'), "PDF417_DIALOG|Input too long!"}, {QString(), "PDF417_DIALOG|Input NULL!"}},
                          [this] { ExpectPortBusyOnPress(dialog.Control(1003)); });
}

TEST_F(Pdf417DlgTest, ReturnClosesNothingEscCloses)
{
    dialog.show();
    QTest::keyClick(dialog.Control(1019)->focusProxy() ? dialog.Control(1019)->focusProxy() : dialog.Control(1019),
                    Qt::Key_Return);
    EXPECT_TRUE(dialog.isVisible());
    QTest::keyClick(dialog.Control(1058), Qt::Key_Return);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(TextOf(1058), "\n");
    EXPECT_TRUE(platform.calls.empty());
    EXPECT_TRUE(boxes.shown.empty());   // Send Data was not pressed either
    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
}
