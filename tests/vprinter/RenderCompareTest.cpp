// `render` and `compare` without a port: the same pictures as the ports draw, one file per
// receipt, and two pictures told apart dot by dot.
#include <gtest/gtest.h>

#include <QImage>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <unistd.h>

#include "tests/vprinter/LoopbackClient.h"
#include "vprinter/Render.h"
#include "vprinter/VirtualPrinter.h"
#include "vprinter/render/Compare.h"
#include "vprinter/render/ReceiptRenderer.h"

namespace tallyx::vprinter::test {
namespace {

namespace fs = std::filesystem;

struct TempDir {
    explicit TempDir(const std::string& name)
        : path(fs::temp_directory_path() / ("vprinter-" + name + "-" + std::to_string(::getpid())))
    {
        fs::remove_all(path);
        fs::create_directories(path);
    }
    ~TempDir() { fs::remove_all(path); }
    fs::path path;
};

// What a stream writes to a FILE, as text.
struct Captured {
    Captured() : file(open_memstream(&data, &size)) {}
    ~Captured()
    {
        std::fclose(file);
        std::free(data);
    }
    std::string Text()
    {
        std::fflush(file);
        return std::string(data, size);
    }
    char* data = nullptr;
    size_t size = 0;
    std::FILE* file;
};

// Two receipts: text in styles, a raster picture and a cut; then a tail ended by the silence.
using namespace std::string_literals;
const std::string kStream = "\x1B\x40\x1B\x61\x01\x1D\x21\x11" "Big\n\x1D\x21\x00\x1B\x61\x00"s +
                            "Item\x1B\x24\xC0\x00" "Qty\x1B\x24\x80\x01" "Price\n"s +
                            "\x1D\x76\x30\x00\x01\x00\x02\x00\xF0\x0F\x1D\x56\x42\x10"s + "Tail\n";

void WriteFile(const fs::path& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

// A scratch folder, files in it rendered into it, and what render printed.
struct RenderRun {
    explicit RenderRun(const std::string& name) : dir(name) { options.outDir = dir.path.string(); }
    std::string Path(const std::string& file) const { return (dir.path / file).string(); }
    void Write(const std::string& file, const std::string& bytes) const { WriteFile(dir.path / file, bytes); }
    int Render(const std::vector<std::string>& files)
    {
        std::vector<std::string> paths;
        for (const std::string& file : files) paths.push_back(Path(file));
        return RenderFiles(paths, options, out.file, err.file);
    }
    TempDir dir;
    RenderOptions options;
    Captured out, err;
};

TEST(Render, DrawsWhatTheNetworkPortDraws)
{
    TempDir dir("render-same");
    const Profile& tm = *FindProfile("tm-t88");
    VirtualPrinterOptions options;
    options.listenPort = 0;
    options.outDir = (dir.path / "tcp").string();
    options.profile = &tm;
    options.paperDots = tm.paperDots;
    options.idleMs = 200;
    VirtualPrinter printer(options);
    ASSERT_TRUE(printer.Start());
    const int fd = ConnectLoopback(printer.TcpPort());
    ASSERT_GE(fd, 0);
    // Sent in two pieces, split inside a command: the framing must not care.
    EXPECT_TRUE(SendAll(fd, kStream.substr(0, 30)));
    EXPECT_TRUE(SendAll(fd, kStream.substr(30)));
    ::close(fd);
    ASSERT_TRUE(WaitUntil([&] { return printer.ReceiptsFinished() == 2; }));
    const std::vector<std::string> sent = printer.WrittenFiles();

    WriteFile(dir.path / "sale.bin", kStream);
    RenderOptions render;
    render.profile = &tm;
    render.outDir = (dir.path / "file").string();
    Captured out, err;
    EXPECT_EQ(RenderFiles({(dir.path / "sale.bin").string()}, render, out.file, err.file), 0);
    const std::string first = (dir.path / "file" / "sale-1.png").string();
    const std::string second = (dir.path / "file" / "sale-2.png").string();
    EXPECT_EQ(out.Text(), first + "\n" + second + "\n");
    ASSERT_EQ(sent.size(), 2u);
    for (const auto& [tcp, file] : {std::pair{sent[0], first}, std::pair{sent[1], second}}) {
        SCOPED_TRACE(file);
        const QImage a(QString::fromStdString(tcp)), b(QString::fromStdString(file));
        ASSERT_FALSE(a.isNull());
        EXPECT_EQ(a.width(), 576);
        EXPECT_TRUE(a == b);
        EXPECT_EQ(ComparePictures(a, b).dots, 0);
    }
}

TEST(Render, UnreadableFileIsReportedAndTheOthersDrawn)
{
    RenderRun run("render-bad");
    run.Write("a.bin", "A\n");
    EXPECT_EQ(run.Render({"missing.bin", "a.bin"}), kRenderUnreadable);
    EXPECT_EQ(run.out.Text(), run.Path("a-1.png") + "\n");
    EXPECT_EQ(run.err.Text(), "tallyx-vprinter: cannot read " + run.Path("missing.bin") + "\n");
    EXPECT_EQ(QImage(QString::fromStdString(run.Path("a-1.png"))).width(), 384) << "zh-58 by default";
}

TEST(Render, OneLogForAllTheFilesNumberedOnInTheirOrder)
{
    RenderRun run("render-log");
    run.Write("a.bin", "A\n");
    run.Write("b.bin", "B\n\x1D\x56\x30");
    run.options.logPath = run.Path("log.jsonl");
    EXPECT_EQ(run.Render({"a.bin", "b.bin"}), 0);
    std::ifstream in(run.options.logPath);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    const char* const meanings[] = {"print \\\"A\\\"", "print and feed a line", "print \\\"B\\\"", "print and feed a line",
                                    "cut the paper: receipt ended"};
    ASSERT_EQ(lines.size(), std::size(meanings));
    for (size_t i = 0; i < lines.size(); ++i) {
        SCOPED_TRACE(lines[i]);
        EXPECT_EQ(lines[i].rfind("{\"seq\":" + std::to_string(i + 1) + ",", 0), 0u);
        EXPECT_NE(lines[i].find(std::string("\"meaning\":\"") + meanings[i] + "\""), std::string::npos);
    }
}

TEST(Render, LogThatCannotBeOpenedFailsBeforeAnythingIsDrawn)
{
    RenderRun run("render-nolog");
    run.Write("a.bin", "A\n");
    run.options.logPath = run.Path("missing/log.jsonl");
    EXPECT_EQ(run.Render({"a.bin"}), kRenderUnwritable);
    EXPECT_EQ(run.err.Text(), "tallyx-vprinter: cannot open the log " + run.options.logPath + "\n");
    EXPECT_EQ(run.out.Text(), "");
}

// How it left the printer in a text field, and the head's 203 dpi, so viewers show its real size.
TEST(Render, EachPictureSaysHowItsReceiptLeftThePrinterAndItsResolution)
{
    RenderRun run("render-cut");
    run.Write("cuts.bin", "Full\n\x1D\x56\x30Partial\n\x1B\x6DTail\n");
    ASSERT_EQ(run.Render({"cuts.bin"}), 0);
    const char* const cuts[] = {"full", "partial", "none"};
    for (size_t i = 0; i < std::size(cuts); ++i) {
        SCOPED_TRACE(cuts[i]);
        const QImage picture(QString::fromStdString(run.Path("cuts-" + std::to_string(i + 1) + ".png")));
        ASSERT_FALSE(picture.isNull());
        EXPECT_EQ(picture.text(kCutText), cuts[i]);
        EXPECT_EQ(picture.dotsPerMeterX(), 7992);
        EXPECT_EQ(picture.dotsPerMeterY(), 7992);
    }
}

QImage Paper(int w, int h)
{
    QImage image(w, h, QImage::Format_Grayscale8);
    image.fill(Qt::white);
    return image;
}

// One bit a dot on disk: every dot comes back as it was, past the last whole byte of a row too.
TEST(Render, ASavedPictureKeepsEveryDot)
{
    TempDir dir("onebit");
    QImage picture = Paper(21, 9);
    for (int y = 0; y < 9; ++y)
        for (int x = 0; x < 21; ++x)
            if ((x * 7 + y * 3) % 5 < 2) picture.setPixel(x, y, qRgb(0, 0, 0));
    picture.setText(kCutText, kCutPartial);
    const std::string path = (dir.path / "p.png").string();
    ASSERT_TRUE(SaveReceiptPicture(picture, path));
    const QImage back(QString::fromStdString(path));
    ASSERT_EQ(back.size(), picture.size());
    EXPECT_EQ(back.depth(), 1);
    EXPECT_EQ(ComparePictures(picture, back).dots, 0);
    EXPECT_EQ(back.text(kCutText), kCutPartial);
}

TEST(Compare, CountsTheDotsAndRowsThatDiffer)
{
    QImage expected = Paper(8, 10), actual = Paper(8, 10);
    for (QImage* image : {&expected, &actual}) image->setPixel(0, 0, qRgb(0, 0, 0));
    expected.setPixel(1, 3, qRgb(0, 0, 0));   // removed
    actual.setPixel(2, 4, qRgb(0, 0, 0));     // added
    actual.setPixel(3, 4, qRgb(0, 0, 0));
    actual.setPixel(7, 8, qRgb(0, 0, 0));
    const PictureDifference d = ComparePictures(expected, actual);
    EXPECT_EQ(d.dots, 4);
    EXPECT_EQ(d.rows, (std::vector<std::pair<int, int>>{{3, 4}, {8, 8}}));
    EXPECT_FALSE(d.sizesDiffer);
    EXPECT_EQ(d.diff.pixel(1, 3), qRgb(220, 0, 0)) << "removed ink red";
    EXPECT_EQ(d.diff.pixel(2, 4), qRgb(0, 170, 0)) << "added ink green";
    EXPECT_EQ(d.diff.pixel(0, 0), qRgb(160, 160, 160)) << "common ink grey";
    EXPECT_EQ(d.diff.pixel(5, 5), qRgb(255, 255, 255));

    const PictureDifference longer = ComparePictures(Paper(8, 10), Paper(8, 12));
    EXPECT_EQ(longer.dots, 0);
    EXPECT_TRUE(longer.sizesDiffer) << "more paper is a difference too";
}

TEST(Compare, ExitStatusSaysSameDifferOrBadFile)
{
    TempDir dir("compare");
    QImage a = Paper(8, 4), b = Paper(8, 4);
    b.setPixel(2, 1, qRgb(0, 0, 0));
    const std::string pa = (dir.path / "a.png").string(), pb = (dir.path / "b.png").string();
    ASSERT_TRUE(a.save(QString::fromStdString(pa)));
    ASSERT_TRUE(b.save(QString::fromStdString(pb)));
    WriteFile(dir.path / "junk.png", "not a picture");
    {
        Captured out, err;
        EXPECT_EQ(CompareFiles(pa, pa, "", out.file, err.file), kCompareSame);
        EXPECT_EQ(out.Text(), "identical\n");
    }
    {
        Captured out, err;
        const std::string diff = (dir.path / "diff.png").string();
        EXPECT_EQ(CompareFiles(pa, pb, diff, out.file, err.file), kCompareDiffer);
        EXPECT_EQ(out.Text(), "1 dot differs, in rows 1\n");
        EXPECT_EQ(QImage(QString::fromStdString(diff)).pixel(2, 1), qRgb(0, 170, 0));
    }
    {
        Captured out, err;
        EXPECT_EQ(CompareFiles(pa, (dir.path / "junk.png").string(), "", out.file, err.file), kCompareBadFile);
        EXPECT_EQ(err.Text(), "tallyx-vprinter: cannot read " + (dir.path / "junk.png").string() + " as a picture\n");
    }
}

} // namespace
} // namespace tallyx::vprinter::test
