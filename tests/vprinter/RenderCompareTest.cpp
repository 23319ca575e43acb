// `render` and `compare` without a port: the same pictures as the ports draw, one file per
// receipt, and two pictures told apart dot by dot.
#include <gtest/gtest.h>

#include <QImage>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <csignal>
#include <sys/resource.h>
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

TEST(Render, OneLogForAllTheFilesNumberedOnEachLineNamingItsFileAndReceipt)
{
    RenderRun run("render-log");
    run.Write("a.bin", "A\n");
    run.Write("b.bin", "B\n\x1D\x56\x30" "C\n");
    run.options.logPath = run.Path("log.jsonl");
    EXPECT_EQ(run.Render({"a.bin", "b.bin"}), 0);
    std::ifstream in(run.options.logPath);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    const char* const meanings[] = {"print \\\"A\\\"", "print and feed a line", "print \\\"B\\\"", "print and feed a line",
                                    "cut the paper: receipt ended", "print \\\"C\\\"", "print and feed a line"};
    // The cut belongs to the receipt it ends; what follows to the next.
    const std::string sources[] = {"a.bin\",\"receipt\":1", "a.bin\",\"receipt\":1", "b.bin\",\"receipt\":1",
                                   "b.bin\",\"receipt\":1", "b.bin\",\"receipt\":1", "b.bin\",\"receipt\":2",
                                   "b.bin\",\"receipt\":2"};
    ASSERT_EQ(lines.size(), std::size(meanings));
    for (size_t i = 0; i < lines.size(); ++i) {
        SCOPED_TRACE(lines[i]);
        EXPECT_EQ(lines[i].rfind("{\"seq\":" + std::to_string(i + 1) + ",", 0), 0u);
        EXPECT_NE(lines[i].find(std::string("\"meaning\":\"") + meanings[i] + "\""), std::string::npos);
        EXPECT_NE(lines[i].find("\"file\":\"" + run.Path(sources[i])), std::string::npos);
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

TEST(Render, TwoFilesOfOneNameAreRefusedBeforeAnythingIsDrawn)
{
    RenderRun run("render-samename");
    fs::create_directories(run.dir.path / "a");
    fs::create_directories(run.dir.path / "b");
    run.Write("a/x.bin", "A\n");
    run.Write("b/x.bin", "B\n");
    run.options.outDir = run.Path("out");
    EXPECT_EQ(run.Render({"a/x.bin", "b/x.bin"}), kRenderUnreadable);
    EXPECT_EQ(run.err.Text(), "tallyx-vprinter: " + run.Path("a/x.bin") + " and " + run.Path("b/x.bin") +
                                  " would both be drawn as x-N.png: give them different names\n");
    EXPECT_FALSE(fs::exists(run.Path("out/x-1.png")));
}

// A full disk: the failed write is named, no empty picture is left, and nothing more is drawn.
TEST(Render, AFailedWriteIsNamedAndStopsTheRun)
{
    RenderRun run("render-full");
    run.Write("a.bin", "A\n\x1D\x56\x30" "B\n");
    run.Write("b.bin", "C\n");
    {
        rlimit small{1, 1}, old{};
        ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
        std::signal(SIGXFSZ, SIG_IGN);
        small.rlim_max = old.rlim_max;
        ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
        const int status = run.Render({"a.bin", "b.bin"});
        setrlimit(RLIMIT_FSIZE, &old);
        EXPECT_EQ(status, kRenderUnwritable);
    }
    EXPECT_EQ(run.err.Text(), "tallyx-vprinter: cannot write " + run.Path("a-1.png") + ": File too large\n");
    EXPECT_EQ(run.out.Text(), "");
    EXPECT_FALSE(fs::exists(run.Path("a-1.png")));
    EXPECT_FALSE(fs::exists(run.Path("b-1.png")));
}

TEST(Render, ALogThatCannotBeWrittenFails)
{
    RenderRun run("render-fulllog");
    run.Write("a.bin", "A\n");
    run.options.logPath = "/dev/full";
    EXPECT_EQ(run.Render({"a.bin"}), kRenderUnwritable);
    EXPECT_EQ(run.err.Text(), "tallyx-vprinter: cannot write the log /dev/full: No space left on device\n");
}

// ESC R is carried out by a TM-T88 (or will be); an unknown ESC is not: either fails --strict,
// a NUL, a CR and an invalid value (ignored by a printer too) do not.
TEST(Render, StrictFailsOnCommandsNotCarriedOut)
{
    RenderRun run("render-strict");
    run.Write("quiet.bin", std::string("\x00\x1B\x61\x07" "A\r\n", 7));
    run.Write("loud.bin", "A\n\x1D\x56\x30" "\x1B\x01" "B\n");
    run.options.strict = true;
    EXPECT_EQ(run.Render({"quiet.bin"}), 0);
    EXPECT_EQ(run.err.Text(), "");
    EXPECT_EQ(run.Render({"loud.bin"}), kRenderNotCarriedOut);
    EXPECT_EQ(run.err.Text(), "tallyx-vprinter: " + run.Path("loud.bin") +
                                  ", receipt 2: unknown (1B 01): unknown command (ignored), not carried out\n");
    run.options.strict = false;
    EXPECT_EQ(run.Render({"loud.bin"}), 0);
}

// What check says and returns, against pictures kept from a render.
struct CheckRun : RenderRun {
    CheckRun() : RenderRun("check")
    {
        Write("sale.bin", kStream);
        Write("other.bin", "Other\n");
        options.outDir = Path("expected");
        EXPECT_EQ(Render({"sale.bin", "other.bin"}), 0);
        options.outDir = Path("actual");
    }
    int Check(const std::vector<std::string>& files)
    {
        std::vector<std::string> paths;
        for (const std::string& file : files) paths.push_back(Path(file));
        return CheckFiles(Path("expected"), paths, options, checkOut.file, checkErr.file);
    }
    Captured checkOut, checkErr;
};

TEST(Check, SamePicturesPass)
{
    CheckRun run;
    EXPECT_EQ(run.Check({"sale.bin", "other.bin"}), kCheckSame);
    EXPECT_EQ(run.checkOut.Text(), "3 as expected, 0 differ, 0 missing, 0 extra; this run's pictures in " +
                                       run.Path("actual") + "\n");
    EXPECT_FALSE(fs::exists(run.Path("actual/diff-sale-1.png"))) << "diffs only where pictures differ";
}

TEST(Check, AChangedPictureGetsADiffAndFails)
{
    CheckRun run;
    run.Write("sale.bin", "\x1B\x40" "Changed\n\x1D\x56\x30" "Tail\n");
    run.Write("other.bin", "Other\n");
    EXPECT_EQ(run.Check({"sale.bin", "other.bin"}), kCheckDiffer);
    const std::string text = run.checkOut.Text();
    EXPECT_EQ(text.rfind("sale-1.png: differs, see " + run.Path("actual/diff-sale-1.png") + "\nsizes differ: ", 0), 0u)
        << text;
    EXPECT_NE(text.find("2 as expected, 1 differ, 0 missing, 0 extra"), std::string::npos) << text;
    EXPECT_TRUE(fs::exists(run.Path("actual/diff-sale-1.png")));
    EXPECT_FALSE(fs::exists(run.Path("actual/diff-sale-2.png")));
}

TEST(Check, MissingAndExtraPicturesFail)
{
    CheckRun run;
    run.Write("sale.bin", "One receipt\n");     // sale-2.png no longer drawn
    run.Write("new.bin", "New\n");              // new-1.png never expected
    EXPECT_EQ(run.Check({"sale.bin", "new.bin"}), kCheckDiffer);
    const std::string text = run.checkOut.Text();
    EXPECT_NE(text.find("new-1.png: extra (drawn, not expected)\n"), std::string::npos) << text;
    EXPECT_NE(text.find("other-1.png: missing (expected, not drawn)\n"), std::string::npos) << text;
    EXPECT_NE(text.find("sale-2.png: missing (expected, not drawn)\n"), std::string::npos) << text;
}

// A picture left from an earlier run is never taken for one of this run.
TEST(Check, DrawsOnlyIntoANewOrEmptyPlace)
{
    CheckRun run;
    fs::create_directories(run.Path("actual"));
    fs::copy_file(run.Path("expected/sale-1.png"), run.Path("actual/sale-1.png"));
    EXPECT_EQ(run.Check({"sale.bin", "other.bin"}), kCheckTrouble);
    EXPECT_EQ(run.checkErr.Text(), "tallyx-vprinter: " + run.Path("actual") +
                                       " is not empty: check draws into a new or empty directory\n");
    run.options.outDir.clear();   // a new directory of its own
    EXPECT_EQ(run.Check({"sale.bin", "other.bin"}), kCheckSame);
    const std::string text = run.checkOut.Text();
    const std::string place = text.substr(text.rfind(" in ") + 4, text.size() - text.rfind(" in ") - 5);
    EXPECT_TRUE(fs::exists(fs::path(place) / "other-1.png")) << text;
    fs::remove_all(place);
}

TEST(Check, AnUnreadableFileIsTrouble)
{
    CheckRun run;
    EXPECT_EQ(run.Check({"sale.bin", "missing.bin"}), kCheckTrouble);
    EXPECT_EQ(run.checkErr.Text(), "tallyx-vprinter: cannot read " + run.Path("missing.bin") + "\n");
}

QImage Paper(int w, int h)
{
    QImage image(w, h, QImage::Format_Grayscale8);
    image.fill(Qt::white);
    return image;
}

// One bit a dot on disk: every dot comes back as it was, in each way a row's dots are packed
// (sixteen, eight and the last few), over a longer picture written there before.
TEST(Render, ASavedPictureKeepsEveryDot)
{
    TempDir dir("onebit");
    const std::string path = (dir.path / "p.png").string();
    QImage earlier = Paper(400, 300);
    earlier.setText(kCutText, kCutFull);
    ASSERT_TRUE(SaveReceiptPicture(earlier, path));
    QImage picture = Paper(45, 9);
    for (int y = 0; y < 9; ++y)
        for (int x = 0; x < 45; ++x)
            if ((x * 7 + y * 3) % 5 < 2) picture.setPixel(x, y, qRgb(0, 0, 0));
    picture.setText(kCutText, kCutPartial);
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
