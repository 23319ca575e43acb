// The window icon drawn at build time is the SVG's picture, pixel for pixel, at every size a
// window hands the window manager.
#include <QIcon>
#include <QImage>
#include <QPixmap>

#include <gtest/gtest.h>

#include "app/AppIcon.h"

namespace tallyx::test {
namespace {

QImage Picture(const QIcon& icon, int size)
{
    return icon.pixmap(QSize(size, size)).toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

TEST(AppIcon, HoldsTheFourSizesTheWindowManagerIsHanded)
{
    EXPECT_EQ(AppIcon().availableSizes(), (QList<QSize>{{16, 16}, {32, 32}, {64, 64}, {128, 128}}));
}

TEST(AppIcon, IsTheSvgPictureAtEachSize)
{
    const QIcon svg(QStringLiteral(TALLYX_SVG_ICON));
    ASSERT_FALSE(svg.isNull()) << "the SVG icon engine did not load " TALLYX_SVG_ICON;
    const QIcon icon = AppIcon();
    for (int size : {16, 32, 64, 128}) {
        SCOPED_TRACE(size);
        const QImage expected = Picture(svg, size);
        const QImage shown = Picture(icon, size);
        ASSERT_EQ(expected.size(), QSize(size, size));
        ASSERT_EQ(shown.size(), QSize(size, size));
        EXPECT_TRUE(shown == expected);
    }
}

TEST(AppIcon, IsAPictureNotABlank)
{
    // Transparent corner, opaque printer body in the middle.
    const QImage shown = Picture(AppIcon(), 32);
    EXPECT_EQ(qAlpha(shown.pixel(0, 0)), 0);
    EXPECT_EQ(qAlpha(shown.pixel(16, 16)), 255);
}

} // namespace
} // namespace tallyx::test
