// How the NV logo dialog looks: its template, its combos, and the preview drawn in the frame.
#include <QComboBox>
#include <algorithm>
#include <QImage>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include "dialogs/CNvLogoDlg.h"
#include "res/NvLogoIds.h"
#include "tests/support/BmpWriter.h"
#include "link/Sender.h"
#include "tests/support/RecordingPlatform.h"
#include "ui/BitmapPreview.h"
#include "ui/DialogLayout.h"
#include "ui/MessageBoxes.h"

using namespace tallyx;
using namespace tallyx::test;

namespace {
struct Dialog {
    RecordingPlatform platform;
    FakeHost host;
    HostedLink link{host, platform};
    Sender sender{link};
    CNvLogoDlg dialog{sender, nullptr};
    Dialog() { link.UseTarget(link.HostTarget()); }   // COM1 chosen, not opened
};

QStringList Items(QComboBox* combo)
{
    QStringList out;
    for (int i = 0; i < combo->count(); ++i) out << combo->itemText(i);
    return out;
}
} // namespace

TEST(NvLogoDlgLook, TemplateControlsAndDefaults)
{
    Dialog d;
    EXPECT_EQ(d.dialog.windowTitle(), "NV LOGO");
    const DialogUnits units(DialogFont(10));
    EXPECT_EQ(d.dialog.size(), QSize(units.X(270), units.Y(166)));
    EXPECT_EQ(d.dialog.Control(id::nvlogo::kPreview)->geometry(), units.ToPixels({106, 8, 157, 145}));

    const std::pair<int, QString> buttons[] = {
        {1003, "打开BMP"}, {1004, "测试图片"}, {1005, "下载logo"}, {1008, "清除logo"}, {1007, "打印logo"},
    };
    for (const auto& [id, label] : buttons) {
        SCOPED_TRACE(id);
        auto* button = qobject_cast<QPushButton*>(d.dialog.Control(id));
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->text(), label);
        EXPECT_EQ(button->accessibleName(), label);
        EXPECT_EQ(button->accessibleDescription(), QString::number(id));
    }

    auto* slot = qobject_cast<QComboBox*>(d.dialog.Control(id::nvlogo::kSlot));
    auto* mode = qobject_cast<QComboBox*>(d.dialog.Control(id::nvlogo::kMode));
    ASSERT_NE(slot, nullptr);
    ASSERT_NE(mode, nullptr);
    EXPECT_EQ(Items(slot), QStringList({"1", "2", "3", "4", "5"}));
    EXPECT_EQ(Items(mode), QStringList({"正常", "倍宽", "倍高", "倍宽倍高"}));
    EXPECT_EQ(slot->currentIndex(), 0);
    EXPECT_EQ(mode->currentIndex(), 0);
    EXPECT_EQ(slot->accessibleName(), "Logo位置:");
    // List only: no typed text can stand for a slot or a mode.
    EXPECT_FALSE(slot->isEditable());
    EXPECT_FALSE(mode->isEditable());
    EXPECT_TRUE(d.dialog.m_strBmpPath.isEmpty());
}

TEST(NvLogoDlgLook, EveryOpeningStartsAtSlotOneNormal)
{
    Dialog first;
    qobject_cast<QComboBox*>(first.dialog.Control(id::nvlogo::kSlot))->setCurrentIndex(4);
    qobject_cast<QComboBox*>(first.dialog.Control(id::nvlogo::kMode))->setCurrentIndex(3);
    first.dialog.UpdateData(true);
    EXPECT_EQ(first.dialog.g_logoIndex, 4);
    EXPECT_EQ(first.dialog.g_logoPrintMode, 3);
    Dialog second;
    EXPECT_EQ(second.dialog.g_logoIndex, 0);
    EXPECT_EQ(second.dialog.g_logoPrintMode, 0);
}

TEST(NvLogoDlgLook, ReturnPressesTheFocusedButtonElseCloses)
{
    Dialog d;
    d.dialog.show();
    auto* print = qobject_cast<QPushButton*>(d.dialog.Control(id::nvlogo::kPrint));
    print->setFocus();
    QTest::keyClick(print, Qt::Key_Return);
    ASSERT_TRUE(d.sender.WaitIdle(10'000));
    // The print command ran: no device was open, so the serial rule's two reopenings follow.
    EXPECT_EQ(std::count(d.platform.calls.begin(), d.platform.calls.end(), "open COM1"), 2);
    EXPECT_TRUE(d.dialog.isVisible());
    QWidget* mode = d.dialog.Control(id::nvlogo::kMode);
    mode->setFocus();
    QTest::keyClick(mode, Qt::Key_Return);
    EXPECT_FALSE(d.dialog.isVisible());
    EXPECT_EQ(d.dialog.result(), QDialog::Accepted);
}

TEST(NvLogoDlgLook, PreviewFillsTheFrameOnEveryPaint)
{
    // Left half black, right half white, in a picture four times wider than high.
    BmpDef s;
    s.bits = 24;
    s.width = 64;
    s.height = 16;
    s.pixel = [](int x, int) { return x < 32 ? 0x000000u : 0xFFFFFFu; };
    Dialog d;
    d.dialog.m_chooseFile = [path = WriteBmp(s, "look_halves.bmp")](QWidget*) { return QString::fromStdString(path); };
    qobject_cast<QPushButton*>(d.dialog.Control(id::nvlogo::kOpenBmp))->click();

    QWidget* frame = d.dialog.Control(id::nvlogo::kPreview);
    for (int paint = 0; paint < 2; ++paint) {
        SCOPED_TRACE(paint);
        const QImage shot = frame->grab().toImage();
        const int w = shot.width(), h = shot.height();
        // The aspect ratio is not kept: the picture reaches the frame's top and bottom.
        for (int y : {2, h / 2, h - 3}) {
            EXPECT_EQ(QColor(shot.pixel(w / 4, y)), QColor(Qt::black)) << y;
            EXPECT_EQ(QColor(shot.pixel(3 * w / 4, y)), QColor(Qt::white)) << y;
        }
    }

    // make screenshot: the whole dialog as the operator sees it.
    if (const QByteArray path = qgetenv("TALLYX_SCREENSHOT"); !path.isEmpty()) {
        d.dialog.show();
        EXPECT_TRUE(d.dialog.grab().save(QString::fromLocal8Bit(path)));
    }
}
