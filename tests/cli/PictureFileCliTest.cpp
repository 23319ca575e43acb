// tallyx-cli picture and logo download of any picture file: each choice reaches the
// conversion, the bands reach the link, the preview is what is sent, bad files send nothing.
#include <gtest/gtest.h>

#include <QImage>

#include <fstream>

#include "tests/cli/CliRun.h"
#include "tests/support/BmpWriter.h"
#include "tests/support/RecordingPlatform.h"
#include "tests/support/TestDir.h"

using namespace tallyx;
using namespace tallyx::test;

namespace {

std::string Zeros(int n)
{
    std::string zeros;
    for (int i = 0; i < n; ++i) zeros += " 00";
    return zeros;
}

class PictureFileCli : public ::testing::Test {
protected:
    void SetUp() override { m_dir = FreshTestDir("tallyx-picture-cli-"); }

    // A PNG whose pixel (x, y) is value(x, y) as ARGB.
    std::string Png(const std::string& name, int w, int h, const std::function<QRgb(int, int)>& value)
    {
        QImage image(w, h, QImage::Format_ARGB32);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) image.setPixel(x, y, value(x, y));
        const std::string path = (m_dir / name).string();
        EXPECT_TRUE(image.save(QString::fromStdString(path), "PNG"));
        return path;
    }
    // 8 x 2 in black and white: rows AA and 55.
    std::string Checker() { return Png("checker.png", 8, 2, [](int x, int y) { return (x + y) % 2 ? qRgb(255, 255, 255) : qRgb(0, 0, 0); }); }
    std::string MidGrey() { return Png("grey.png", 8, 2, [](int, int) { return qRgb(128, 128, 128); }); }
    std::string Path(const std::string& name) const { return (m_dir / name).string(); }

    std::filesystem::path m_dir;
};

} // namespace

TEST_F(PictureFileCli, EachChoiceReachesTheBytes)
{
    const std::string checker = Checker();
    const std::string grey = MidGrey();
    const std::string bmp = WriteBmp(AllBlack(8, 8), "picture_black8.bmp");
    const std::string wide = Png("wide.png", 600, 10, [](int, int) { return qRgb(255, 255, 255); });
    ExpectCliRows({
        // A BMP with no options is the bitmap command; any option takes it through the conversion.
        {{"--dry-run", "picture", bmp}, 0, "1D 2A 01 01 FF FF FF FF FF FF FF FF 1D 2F 00 0A 0A\n", ""},
        {{"--dry-run", "picture", bmp, "--command", "raster"}, 0, "1D 76 30 00 01 00 08 00 FF FF FF FF FF FF FF FF\n", ""},
        {{"--dry-run", "picture", checker}, 0, "1D 76 30 00 01 00 02 00 AA 55\n", ""},
        {{"--dry-run", "picture", checker, "--command", "graphics"}, 0,
         "1D 28 4C 0C 00 30 70 30 01 01 31 08 00 02 00 AA 55 1D 28 4C 02 00 30 32\n", ""},
        {{"--dry-run", "picture", checker, "--command", "column"}, 0,
         "1B 33 18 1B 2A 21 08 00 80 00 00 40 00 00 80 00 00 40 00 00 80 00 00 40 00 00 80 00 00 40 00 00 0A 1B 32\n", ""},
        {{"--dry-run", "picture", grey, "--dither", "bayer4"}, 0, "1D 76 30 00 01 00 02 00 55 AA\n", ""},
        {{"--dry-run", "picture", grey, "--dither", "threshold"}, 0, "1D 76 30 00 01 00 02 00 00 00\n", ""},
        {{"--dry-run", "picture", grey, "--dither", "threshold", "--darkness", "50"}, 0, "1D 76 30 00 01 00 02 00 FF FF\n", ""},
        {{"--dry-run", "picture", checker, "--width", "4", "--dither", "threshold"}, 0, "1D 76 30 00 01 00 01 00 00\n", ""},
        // 600 x 10 fitted to 384 dots: 48 bytes by 6 rows of paper.
        {{"--dry-run", "picture", wide, "--paper", "58"}, 0, "1D 76 30 00 30 00 06 00" + Zeros(48 * 6) + "\n", ""},
        {{"--dry-run", "logo", "download", "--slot", "2", checker}, 0,
         "1C 72 02 01 00 01 00 80 40 80 40 80 40 80 40 1B 40\n", ""},
    });
}

TEST_F(PictureFileCli, BadFilesAndChoicesSendNothing)
{
    const std::string checker = Checker();
    {
        std::ofstream(Path("notes.png")) << "not a picture\n";
    }
    std::ifstream whole(checker, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(whole)), std::istreambuf_iterator<char>());
    std::ofstream(Path("cut.png"), std::ios::binary) << bytes.substr(0, bytes.size() / 2);
    ExpectCliRows({
        {{"--port", "COM1", "picture", Path("notes.png")}, 2, "", "不是可识别的图片文件!\n"},
        {{"--port", "COM1", "picture", Path("cut.png")}, 2, "", "图片文件不完整或已损坏!\n"},
        {{"--port", "COM1", "picture", Path("missing.png")}, 2, "", "图片文件打开失败!\n"},
        {{"--port", "COM1", "logo", "download", "--slot", "1", Path("notes.png")}, 2, "", "不是可识别的图片文件!\n"},
        {{"--dry-run", "picture", checker, "--width", "0"}, 64, "", ""},
        {{"--dry-run", "picture", checker, "--width", "2041"}, 64, "", ""},
        {{"--dry-run", "picture", checker, "--width", "100", "--paper", "58"}, 64, "", ""},
        {{"--dry-run", "picture", checker, "--paper", "76"}, 64, "", ""},
        {{"--dry-run", "picture", checker, "--dither", "random"}, 64, "", ""},
        {{"--dry-run", "picture", checker, "--command", "gs-star"}, 64, "", ""},
        {{"--dry-run", "picture", checker, "--darkness", "101"}, 64, "", ""},
        {{"--dry-run", "logo", "download", "--slot", "1", checker, "--command", "raster"}, 64, "", ""},
    });
    // A photo too large for the logo command is refused, not cut.
    const std::string photo = Png("photo.png", 576, 300, [](int, int) { return qRgb(0, 0, 0); });
    ExpectCliRows({{{"--dry-run", "logo", "download", "--slot", "1", photo}, 2, "", "位图数据太大了，操作失败!\n"}});
}

TEST_F(PictureFileCli, BandsGoAsSendsOfTheirOwnAndThePreviewIsWhatIsSent)
{
    const std::string tall = Png("tall.png", 576, 500, [](int x, int y) { return (x + y) % 3 ? qRgb(255, 255, 255) : qRgb(0, 0, 0); });
    RecordingPlatform platform;
    const CliRun run = RunCliWith(platform, {"--port", "COM1", "--baud", "115200", "picture", tall, "--preview", Path("sent.png")});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "");
    const std::vector<std::string> writes = platform.Writes();
    ASSERT_EQ(writes.size(), 3u);   // 216 + 216 + 68 rows
    EXPECT_EQ(writes[0].substr(0, 23), "1D 76 30 00 48 00 D8 00");
    EXPECT_EQ(writes[2].substr(0, 23), "1D 76 30 00 48 00 44 00");

    const QImage preview(QString::fromStdString(Path("sent.png")));
    ASSERT_EQ(preview.size(), QSize(576, 500));
    for (int y : {0, 215, 216, 499})
        for (int x : {0, 1, 2, 575}) EXPECT_EQ(qGray(preview.pixel(x, y)) == 0, (x + y) % 3 == 0) << x << "," << y;
    // The first band's bytes are the preview's top rows: dot (0, 0) ink, (1, 0) and (2, 0) paper.
    EXPECT_EQ(writes[0].substr(24, 2), "92");
}

TEST_F(PictureFileCli, HelpListsTheMethodsAndCommands)
{
    RecordingPlatform platform;
    const std::string help = RunCliWith(platform, {"picture", "--help"}).out;
    for (const char* name : {"threshold", "floyd-steinberg", "atkinson", "jarvis", "stucki", "sierra", "bayer4",
                             "bayer8", "raster", "column", "graphics"})
        EXPECT_NE(help.find(name), std::string::npos) << name;
}
