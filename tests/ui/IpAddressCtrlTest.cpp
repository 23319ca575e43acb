// The four-field address entry.
#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

#include "ui/IpAddressCtrl.h"

namespace tallyx::test {
namespace {

class IpAddressCtrlTest : public ::testing::Test {
protected:
    void Show()
    {
        ip.show();
        ip.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&ip));
        ip.SetFocusFirst();
    }
    // Each key goes where the focus is at that moment, as typing does.
    static void Type(const char* keys)
    {
        for (const char* k = keys; *k; ++k) QTest::keyClick(QApplication::focusWidget(), *k);
    }
    QString Fields() const
    {
        QStringList parts;
        for (int i = 0; i < 4; ++i) parts << ip.Field(i)->text();
        return parts.join('|');
    }
    IpAddressCtrl ip;
};

TEST_F(IpAddressCtrlTest, StartsBlank)
{
    EXPECT_TRUE(ip.IsBlank());
    EXPECT_EQ(ip.FieldCount(), 0);
    EXPECT_FALSE(ip.Complete());
    EXPECT_EQ(ip.GetAddress(), 0u);
    EXPECT_TRUE(ip.Entry().Blank());
}

TEST_F(IpAddressCtrlTest, SetsAndReadsAnAddressFirstOctetHigh)
{
    ip.SetAddress(0xC0A80164);
    EXPECT_EQ(ip.Text(), "192.168.1.100");
    EXPECT_TRUE(ip.Complete());
    EXPECT_FALSE(ip.IsBlank());
    EXPECT_EQ(ip.FieldCount(), 4);
    EXPECT_EQ(ip.GetAddress(), 0xC0A80164u);
    const AddressEntry e = ip.Entry();
    EXPECT_EQ(e.octets, (std::array<uint8_t, 4>{192, 168, 1, 100}));
    EXPECT_TRUE(e.Complete());
    ip.SetAddress(0);
    EXPECT_EQ(ip.Text(), "0.0.0.0");
    EXPECT_TRUE(ip.Complete());
    ip.SetAddress(0xFFFFFFFF);
    EXPECT_EQ(ip.Text(), "255.255.255.255");
}

TEST_F(IpAddressCtrlTest, ClearEmptiesEveryField)
{
    ip.SetAddress(0x08080808);
    ip.ClearAddress();
    EXPECT_TRUE(ip.IsBlank());
    EXPECT_EQ(Fields(), "|||");
}

TEST_F(IpAddressCtrlTest, CountsFilledFieldsAndReadsEmptyOnesAsZero)
{
    ip.Field(0)->setText("192");
    ip.Field(1)->setText("168");
    ip.Field(3)->setText("7");
    EXPECT_EQ(ip.FieldCount(), 3);
    EXPECT_FALSE(ip.Complete());
    EXPECT_FALSE(ip.IsBlank());
    EXPECT_EQ(ip.GetAddress(), 0xC0A80007u);
    const AddressEntry e = ip.Entry();
    EXPECT_EQ(e.present, (std::array<bool, 4>{true, true, false, true}));
}

TEST_F(IpAddressCtrlTest, TypingMovesOnAfterThreeDigitsOrADot)
{
    Show();
    Type("192.168.1");
    EXPECT_EQ(Fields(), "192|168|1|");
    EXPECT_EQ(ip.FieldCount(), 3);
    Type(".5");
    EXPECT_EQ(ip.Text(), "192.168.1.5");
    EXPECT_TRUE(ip.Complete());
}

TEST_F(IpAddressCtrlTest, RefusesValuesAbove255AndNonDigits)
{
    Show();
    Type("255");   // accepted, moves on
    Type("256");   // the 6 is refused
    Type("x-");
    EXPECT_EQ(Fields(), "255|25||");
}

TEST_F(IpAddressCtrlTest, ADotInAnEmptyFieldStaysPut)
{
    Show();
    Type("..7");
    EXPECT_EQ(Fields(), "7|||");
}

TEST_F(IpAddressCtrlTest, BackspaceAtAFieldStartGoesBack)
{
    Show();
    Type("10.");
    EXPECT_EQ(QApplication::focusWidget(), ip.Field(1));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backspace);
    EXPECT_EQ(QApplication::focusWidget(), ip.Field(0));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backspace);
    EXPECT_EQ(Fields(), "1|||");
}

TEST_F(IpAddressCtrlTest, FocusFirstPutsTheCursorInTheFirstField)
{
    Show();
    ip.Field(2)->setFocus();
    ip.SetFocusFirst();
    EXPECT_EQ(QApplication::focusWidget(), ip.Field(0));
}

} // namespace
} // namespace tallyx::test
