// The painted flat buttons and group frames: the frame colour in each state, the title's
// place on the frame's top line.
#include <QApplication>
#include <QGroupBox>
#include <QImage>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include "ui/FramedControls.h"

namespace tallyx::test {
namespace {

QRgb Pixel(QWidget& w, int x, int y) { return w.grab().toImage().pixel(x, y); }
QRgb Active(QPalette::ColorRole role) { return QApplication::palette().color(QPalette::Active, role).rgb(); }

TEST(FramePainter, FlatButtonFrameAndGroundInEachState)
{
    QWidget window;
    QPushButton button("设置下划线", &window);
    QPushButton other("other", &window);
    FramePainter painter;
    painter.Take(&button);
    button.setGeometry(10, 10, 80, 20);
    other.setGeometry(10, 40, 80, 20);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

    other.setFocus();
    EXPECT_EQ(Pixel(button, 0, 0), Active(QPalette::Shadow));
    EXPECT_EQ(Pixel(button, 79, 19), Active(QPalette::Shadow));
    EXPECT_EQ(Pixel(button, 2, 2), Active(QPalette::Button));

    button.setEnabled(false);   // a disabled button keeps its dark frame
    EXPECT_EQ(Pixel(button, 0, 10), Active(QPalette::Shadow));
    button.setEnabled(true);

    button.setFocus();
    EXPECT_EQ(Pixel(button, 40, 0), Active(QPalette::Highlight));

    button.setDown(true);
    EXPECT_EQ(Pixel(button, 2, 2), Active(QPalette::Mid));
}

TEST(FramePainter, GroupFrameTitleSitsOnTheTopLineWithTheLineClearAroundIt)
{
    QWidget window;
    QGroupBox frame("端口设置", &window);
    FramePainter painter;
    painter.Take(&frame);
    frame.setGeometry(0, 0, 200, 60);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    const QImage image = frame.grab().toImage();
    const QRgb mid = Active(QPalette::Mid);
    const int top = qRound(QFontMetrics(QApplication::font()).height() * 0.5);
    const int titleEnd = 6 + QFontMetrics(frame.font()).horizontalAdvance("端口设置") + 8;

    EXPECT_EQ(image.pixel(0, top), mid);
    EXPECT_EQ(image.pixel(5, top), mid) << "the line runs up to six pixels in";
    EXPECT_NE(image.pixel(6, top), mid) << "and stops for the title";
    EXPECT_NE(image.pixel(titleEnd - 1, top), mid);
    EXPECT_EQ(image.pixel(titleEnd, top), mid) << "then runs on after it";
    EXPECT_EQ(image.pixel(199, 59), mid);
    EXPECT_NE(image.pixel(0, top - 1), mid) << "nothing of the frame above its top line";
}

} // namespace
} // namespace tallyx::test
