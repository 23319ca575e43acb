// The picture preview window and the NV logo dialog's way to it: the choices reach the
// dots shown, the dots and the command reach the link, a refused file only its message.
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "dialogs/CNvLogoDlg.h"
#include "dialogs/CPictureDlg.h"
#include "res/NvLogoIds.h"
#include "res/PictureIds.h"
#include "tests/dialogs/DialogLinkFixture.h"
#include "tests/support/BmpWriter.h"
#include "ui/BitmapPreview.h"
#include "ui/DotsView.h"

using namespace tallyx;
using namespace tallyx::test;

namespace {

// A PNG of w x h pixels, each value(x, y), beside the tests' bitmaps.
std::string Png(const std::string& name, int w, int h, const std::function<QRgb(int, int)>& value)
{
    QImage image(w, h, QImage::Format_ARGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) image.setPixel(x, y, value(x, y));
    const std::string path = WriteFile({}, name);
    EXPECT_TRUE(image.save(QString::fromStdString(path), "PNG"));
    return path;
}

std::string Checker() { return Png("dlg_checker.png", 8, 2, [](int x, int y) { return (x + y) % 2 ? qRgb(255, 255, 255) : qRgb(0, 0, 0); }); }

DecodedPicture Decoded(const std::string& path) { return DecodePictureFile(path, {}).picture(); }

class PictureDlgTest : public ::testing::Test {
protected:
    void Open(const std::string& path, PictureUse use = PictureUse::Print)
    {
        dialog = std::make_unique<CPictureDlg>(path, Decoded(path), use, nullptr);
    }
    template <class W>
    W* Get(int id) { return qobject_cast<W*>(dialog->Control(id)); }
    void Type(int id, const QString& text)
    {
        Get<QLineEdit>(id)->setText(text);
        emit Get<QLineEdit>(id)->editingFinished();
    }
    QString SizeLine() { return Get<QLabel>(id::picture::kSize)->text(); }

    std::unique_ptr<CPictureDlg> dialog;
};

class NvLogoPictureTest : public DialogLinkTest {
protected:
    void Choose(const std::string& path)
    {
        dialog.m_chooseFile = [path](QWidget*) { return QString::fromStdString(path); };
        Press(dialog.Control(id::nvlogo::kOpenBmp));
    }
    // The operator's answer in the preview window, and what the window was asked.
    void Answer(std::optional<CNvLogoDlg::PictureChoice> choice)
    {
        dialog.m_previewPicture = [this, choice](const std::string&, DecodedPicture decoded, PictureUse use, QWidget*) {
            asked.push_back({decoded.width, use});
            return choice;
        };
    }
    struct Asked {
        int width;
        PictureUse use;
    };
    std::vector<Asked> asked;
    CNvLogoDlg dialog{sender, nullptr};
};

} // namespace

TEST_F(PictureDlgTest, ChoicesReachTheDotsShown)
{
    Open(Checker());
    // Defaults: Floyd-Steinberg, 80 mm (a small picture keeps its width), raster, darkness 0.
    EXPECT_EQ(Get<QComboBox>(id::picture::kMethod)->currentText(), "floyd-steinberg");
    EXPECT_EQ(Get<QComboBox>(id::picture::kPaper)->currentText(), "80 mm");
    EXPECT_EQ(Get<QLineEdit>(id::picture::kWidth)->text(), "8");
    EXPECT_EQ(Get<QLineEdit>(id::picture::kDarkness)->text(), "0");
    EXPECT_EQ(SizeLine(), "8 × 2 点，1 段");
    EXPECT_EQ(dialog->Dots().rows, (Bytes{0xAA, 0x55}));
    const QImage shown = dialog->findChild<DotsView*>()->Shown();
    ASSERT_EQ(shown.size(), QSize(8, 2));
    EXPECT_EQ(qGray(shown.pixel(0, 0)), 0);
    EXPECT_EQ(qGray(shown.pixel(1, 0)), 255);

    Type(id::picture::kWidth, "16");
    EXPECT_EQ(dialog->Dots().width, 16);
    EXPECT_EQ(dialog->Options().fit, Fit::Exact);
    EXPECT_EQ(SizeLine(), "16 × 4 点，1 段");

    Get<QComboBox>(id::picture::kCommand)->setCurrentIndex(2);
    EXPECT_EQ(dialog->Options().command, PictureCommand::Graphics);
    Get<QComboBox>(id::picture::kMethod)->setCurrentIndex(6);
    EXPECT_EQ(dialog->Options().method, DitherMethod::Bayer4);
    Type(id::picture::kDarkness, "-40");
    EXPECT_EQ(dialog->Options().darkness, -40);
}

TEST_F(PictureDlgTest, PaperFitsWidePicturesAndALogoHasNoCommand)
{
    Open(Png("dlg_wide.png", 1200, 300, [](int x, int) { return qRgb(x % 256, x % 256, x % 256); }), PictureUse::Logo);
    EXPECT_EQ(SizeLine(), "576 × 144 点，1 段");
    Get<QComboBox>(id::picture::kPaper)->setCurrentIndex(0);
    EXPECT_EQ(SizeLine(), "384 × 96 点，1 段");
    EXPECT_EQ(Get<QLineEdit>(id::picture::kWidth)->text(), "384");
    EXPECT_FALSE(Get<QComboBox>(id::picture::kCommand)->isEnabled());
    EXPECT_EQ(Get<QPushButton>(id::picture::kSend)->text(), "下载logo");
}

TEST_F(NvLogoPictureTest, AnyOtherPictureGoesThroughItsPreview)
{
    Choose(Checker());
    EXPECT_FALSE(dialog.Preview()->Picture().isNull());   // the frame shows PNGs too
    DotPicture dots{3, 2, {0xA0, 0x40}};
    Answer(CNvLogoDlg::PictureChoice{dots, PictureCommand::Graphics});
    Press(dialog.Control(id::nvlogo::kTestPicture));
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].width, 8);
    EXPECT_EQ(asked[0].use, PictureUse::Print);
    EXPECT_EQ(Writes(), Strings{"1D 28 4C 0C 00 30 70 30 01 01 31 03 00 02 00 A0 40 1D 28 4C 02 00 30 32"});

    platform.calls.clear();
    Press(dialog.Control(id::nvlogo::kDownload));
    EXPECT_EQ(asked.back().use, PictureUse::Logo);
    EXPECT_EQ(Writes(), Strings{"1C 72 01 01 00 01 00 80 40 80 00 00 00 00 00 1B 40"});
    EXPECT_EQ(Shown(), Strings{"NV LOGO|DownLoad LOGO Success!"});

    // Cancelled: nothing sent, nothing said.
    platform.calls.clear();
    boxes.shown.clear();
    Answer(std::nullopt);
    Press(dialog.Control(id::nvlogo::kTestPicture));
    Press(dialog.Control(id::nvlogo::kDownload));
    EXPECT_TRUE(Writes().empty());
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(NvLogoPictureTest, BandsGoOneWriteEachAndABmpAsItAlwaysHas)
{
    Choose(Checker());
    DotPicture tall{576, 500, Bytes(72 * 500, 0)};
    Answer(CNvLogoDlg::PictureChoice{tall, PictureCommand::Raster});
    Press(dialog.Control(id::nvlogo::kTestPicture));
    // Over serial the second and third bands wait for the head, on a timer, each after the
    // band before it is in.
    for (int i = 0; i < 150 && Writes().size() < 3; ++i) {
        QTest::qWait(20);
        Settle();
    }
    const Strings writes = Writes();
    ASSERT_EQ(writes.size(), 3u);
    EXPECT_EQ(writes[0].substr(0, 23), "1D 76 30 00 48 00 D8 00");
    EXPECT_EQ(writes[2].substr(0, 23), "1D 76 30 00 48 00 44 00");

    platform.calls.clear();
    asked.clear();
    Choose(WriteBmp(AllBlack(8, 8), "dlg_pic_black8.bmp"));
    Press(dialog.Control(id::nvlogo::kTestPicture));
    EXPECT_TRUE(asked.empty());
    EXPECT_EQ(Writes(), Strings{"1D 2A 01 01 FF FF FF FF FF FF FF FF 1D 2F 00 0A 0A"});
}

TEST_F(NvLogoPictureTest, ARefusedPictureSaysWhyAndOpensNoPreview)
{
    Choose(WriteFile({'h', 'i'}, "dlg_notes.png"));
    Answer(std::nullopt);
    Press(dialog.Control(id::nvlogo::kTestPicture));
    EXPECT_TRUE(asked.empty());
    EXPECT_EQ(Shown(), Strings{"tallyx|不是可识别的图片文件!"});
    EXPECT_TRUE(Writes().empty());
}
