// tallyx-printer end to end: the application on a loopback port, a printer whose device is
// a tallyx-vprinter socket, jobs sent with ipptool, the receipts' pictures read dot by dot.
#include <gtest/gtest.h>

#include <cups/raster.h>

#include <QImage>
#include <QPainter>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>

#include "tests/printer/Processes.h"
#include "tests/support/WebDriver.h"

namespace tallyx::printer::test {
namespace {

namespace fs = std::filesystem;

constexpr int kHeadDots = 576;   // the head prints the middle 72 mm of the 80 mm roll
constexpr int kPictureWaitMs = 20000;

struct JobSettings {
    std::string cut = "after-job", cutType = "partial", drawer = "none", logo = "none", dither = "auto";
};

class PrinterApplication : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_dir = fs::temp_directory_path() / (std::string("tallyx-printer-e2e-") +
                                             ::testing::UnitTest::GetInstance()->current_test_info()->name() + "-" +
                                             std::to_string(::getpid()));
        fs::remove_all(m_dir);
        fs::create_directories(m_dir / "spool");
        fs::create_directories(m_dir / "out");
        m_vpPort = FreePort();
        m_port = FreePort();
    }
    void TearDown() override
    {
        m_server.Stop();
        m_vprinter.Stop();
        if (!HasFailure()) fs::remove_all(m_dir);
    }

    void StartVirtualPrinter(const std::string& status = "")
    {
        std::vector<std::string> args{VPRINTER_PROGRAM, "--listen", "127.0.0.1:" + std::to_string(m_vpPort), "--out",
                                      (m_dir / "out").string(), "--profile", "zh-80", "--log",
                                      (m_dir / "vprinter.log").string()};
        if (!status.empty()) args.insert(args.end(), {"--status", status});
        ASSERT_TRUE(m_vprinter.Start(args, (m_dir / "vprinter.out").string()));
        ASSERT_TRUE(WaitFor([&] { return Contains(m_dir / "vprinter.out", "ready"); }, 5000));
    }

    void StartServer()
    {
        ASSERT_TRUE(m_server.Start({PRINTER_PROGRAM, "server", "-o", "server-port=" + std::to_string(m_port), "-o",
                                    "spool-directory=" + (m_dir / "spool").string(), "-o",
                                    "log-file=" + (m_dir / "server.log").string(), "-o", "log-level=info", "-o",
                                    "listen-hostname=localhost", "-o", "auth-service=none"},
                                   (m_dir / "server.out").string()));
        // Not the CLI: asked before the server is up, it starts a server of its own.
        ASSERT_TRUE(WaitFor([&] { return Contains(m_dir / "server.log", "Starting system."); }, 10000));
    }

    void StartWithPrinter(const std::string& status = "")
    {
        StartVirtualPrinter(status);
        StartServer();
        ASSERT_EQ(Cli({"add", "-d", "receipt", "-v", "socket://127.0.0.1:" + std::to_string(m_vpPort), "-m", "zh-80"}),
                  0);
    }

    int Cli(std::vector<std::string> args)
    {
        args.insert(args.begin(), PRINTER_PROGRAM);
        args.insert(args.begin() + 2, {"-u", "ipp://localhost:" + std::to_string(m_port)});
        return RunProgram(args);
    }

    std::string PrinterUri() const { return "ipp://localhost:" + std::to_string(m_port) + "/ipp/print/receipt"; }

    std::vector<std::string> IppArgs(const std::string& testFile, const std::vector<std::string>& vars) const
    {
        std::vector<std::string> args{"/usr/bin/ipptool", "-t"};
        for (const auto& v : vars) args.insert(args.end(), {"-d", v});
        args.insert(args.end(), {PrinterUri(), std::string(TEST_FILES) + "/" + testFile});
        return args;
    }

    int Ipp(const std::string& testFile, const std::vector<std::string>& vars, std::string* output = nullptr)
    {
        return RunProgram(IppArgs(testFile, vars), output);
    }

    static std::vector<std::string> PrintVars(const fs::path& file, const std::string& format, const JobSettings& s)
    {
        return {"filename=" + file.string(), "format=" + format, "cut=" + s.cut,  "cuttype=" + s.cutType,
                "drawer=" + s.drawer,        "logo=" + s.logo,     "dither=" + s.dither};
    }

    int Print(const fs::path& file, const std::string& format, const JobSettings& s = {})
    {
        return Ipp("print-job.test", PrintVars(file, format, s));
    }

    std::string StateReasons()
    {
        std::string out;
        Ipp("printer-state.test", {}, &out);
        return out;
    }

    std::vector<fs::path> Pictures() const
    {
        std::vector<fs::path> found;
        for (const auto& e : fs::directory_iterator(m_dir / "out"))
            if (e.path().extension() == ".png") found.push_back(e.path());
        std::sort(found.begin(), found.end());
        return found;
    }

    QImage WaitForPicture(size_t count = 1)
    {
        if (!WaitFor([&] { return Pictures().size() >= count; }, kPictureWaitMs)) return {};
        // The picture is written whole once the receipt ends; a moment for the file to close.
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        return QImage(QString::fromStdString(Pictures()[count - 1].string()));
    }

    // The hex of every command the virtual printer logged, in order.
    std::vector<std::string> LoggedCommands() const
    {
        std::vector<std::string> hex;
        std::ifstream in(m_dir / "vprinter.log");
        for (std::string line; std::getline(in, line);) {
            const auto j = nlohmann::json::parse(line, nullptr, false);
            if (j.is_object() && j.contains("hex")) hex.push_back(j["hex"].get<std::string>());
        }
        return hex;
    }

    static bool Contains(const fs::path& file, const std::string& text)
    {
        std::ifstream in(file);
        std::stringstream s;
        s << in.rdbuf();
        return s.str().find(text) != std::string::npos;
    }

    fs::path m_dir;
    uint16_t m_vpPort = 0, m_port = 0;
    Spawned m_vprinter, m_server;
};

// The page CUPS would send: 8-bit grey PWG raster (or Apple raster, what CUPS sends a printer
// that prefers it), 80 mm x 297 mm at 203 dpi, ink given by `ink(x, y)` in the head's dots.
template <class Ink>
fs::path WritePwg(const fs::path& path, int height, Ink ink, bool truncate = false,
                  cups_mode_t mode = CUPS_RASTER_WRITE_PWG)
{
    cups_page_header2_t header;
    cupsRasterInitPWGHeader(&header, pwgMediaForPWG("om_receipt_80x297mm"), "sgray_8", 203, 203, "one-sided",
                            nullptr);
    header.cupsHeight = unsigned(height);
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    cups_raster_t* raster = cupsRasterOpen(fd, mode);
    cupsRasterWriteHeader2(raster, &header);
    std::vector<unsigned char> line(header.cupsBytesPerLine);
    const int headLeft = (int(header.cupsWidth) - kHeadDots) / 2;
    for (int y = 0; y < (truncate ? height / 2 : height); ++y) {
        for (int x = 0; x < int(header.cupsWidth); ++x) {
            const int head = x - headLeft;
            line[size_t(x)] = head >= 0 && head < kHeadDots && ink(head, y) ? 0x00 : 0xFF;
        }
        cupsRasterWritePixels(raster, line.data(), header.cupsBytesPerLine);
    }
    cupsRasterClose(raster);
    ::close(fd);
    if (truncate) fs::resize_file(path, fs::file_size(path) - 100);
    return path;
}

bool Black(const QImage& picture, int x, int y)
{
    return qGray(picture.pixel(x, y)) < 128;
}

// Squares of 8 dots from the top left, and one dot at the head's right end.
bool Pattern(int x, int y)
{
    return y >= 100 && ((x < 200 && (x / 8 + y / 8) % 2 == 0) || (x == kHeadDots - 1 && y == 139));
}

TEST_F(PrinterApplication, ARasterPageComesOutDotForDotWithNoBlankRowsAboveOrBelowIt)
{
    StartWithPrinter();
    const auto ink = [](int x, int y) { return Pattern(x, y) && y < 140; };
    ASSERT_EQ(Print(WritePwg(m_dir / "page.pwg", 2374, ink), "image/pwg-raster"), 0);
    ASSERT_EQ(Print(WritePwg(m_dir / "page.urf", 2374, ink, false, CUPS_RASTER_WRITE_APPLE), "image/urf"), 0);
    for (size_t n = 1; n <= 2; ++n) {
        SCOPED_TRACE(n == 1 ? "PWG raster" : "Apple raster");
        const QImage picture = WaitForPicture(n);
        ASSERT_FALSE(picture.isNull());
        ASSERT_EQ(picture.width(), kHeadDots);
        // The page's 40 inked rows and the cutter's feed of 72 dots below them, nothing more.
        ASSERT_EQ(picture.height(), 40 + 72);
        int wrong = 0;
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < kHeadDots; ++x) wrong += Black(picture, x, y) != (Pattern(x, y + 100) && y < 40);
        EXPECT_EQ(wrong, 0);
    }
}

TEST_F(PrinterApplication, APngBeginsAtTheTopOfItsReceipt)
{
    StartWithPrinter();
    QImage png(kHeadDots, 60, QImage::Format_RGB32);
    png.fill(Qt::white);
    QPainter(&png).fillRect(0, 20, 100, 10, Qt::black);
    ASSERT_TRUE(png.save(QString::fromStdString((m_dir / "picture.png").string())));
    ASSERT_EQ(Print(m_dir / "picture.png", "image/png"), 0);
    const QImage picture = WaitForPicture();
    ASSERT_FALSE(picture.isNull());
    int wrong = 0;
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < kHeadDots; ++x) wrong += Black(picture, x, y) != (x < 100);
    EXPECT_EQ(wrong, 0);
    EXPECT_EQ(picture.height(), 10 + 72);
}

TEST_F(PrinterApplication, CutDrawerAndLogoComeWhereTheJobSays)
{
    StartWithPrinter();
    const fs::path page = WritePwg(m_dir / "page.pwg", 300, [](int x, int y) { return x < 8 && y < 8; });
    JobSettings s;
    s.cut = "after-page";
    s.cutType = "full";
    s.drawer = "drawer-2-before";
    s.logo = "bottom-3";
    ASSERT_EQ(Print(page, "image/pwg-raster", s), 0);
    ASSERT_FALSE(WaitForPicture().isNull());
    std::vector<std::string> sent;
    for (const std::string& hex : LoggedCommands())
        if (hex.rfind("10 04", 0) != 0) sent.push_back(hex.substr(0, 23));   // the status questions aside
    const std::vector<std::string> expected{"1B 40", "1B 70 01 30 30", "1D 76 30 00 48 00 08 00", "1D 56 41 48",
                                            "1B 61 01", "1C 70 03 30", "1B 61 00"};
    EXPECT_EQ(sent, expected);
}

TEST_F(PrinterApplication, PaperOutShowsAsMediaEmptyAndTheJobPrintsOnceThePaperIsBack)
{
    StartWithPrinter("paper-out");
    EXPECT_TRUE(WaitFor([&] { return StateReasons().find("media-empty") != std::string::npos; }, 15000));
    const fs::path page = WritePwg(m_dir / "page.pwg", 300, [](int x, int y) { return x < 8 && y < 8; });
    // A raster job streams: its sender waits with it.
    Spawned sender;
    ASSERT_TRUE(sender.Start(IppArgs("print-job.test", PrintVars(page, "image/pwg-raster", {})),
                             (m_dir / "ipptool.out").string()));
    std::this_thread::sleep_for(std::chrono::seconds(2));
    EXPECT_TRUE(Pictures().empty());
    // The roll changed: the printer comes back ready on the same port.
    m_vprinter.Stop();
    StartVirtualPrinter();
    EXPECT_FALSE(WaitForPicture().isNull());
    EXPECT_TRUE(WaitFor([&] { return StateReasons().find("media-empty") == std::string::npos; }, 15000));
    std::this_thread::sleep_for(std::chrono::seconds(2));
    EXPECT_EQ(Pictures().size(), 1u);
    EXPECT_TRUE(WaitFor([&] { return Contains(m_dir / "ipptool.out", "[PASS]"); }, 5000));
}

TEST_F(PrinterApplication, ATruncatedDocumentAbortsItsJobAndTheNextJobPrints)
{
    StartWithPrinter();
    const auto ink = [](int x, int y) { return x < 8 && y < 8; };
    ASSERT_EQ(Print(WritePwg(m_dir / "cut-short.pwg", 300, ink, true), "image/pwg-raster"), 0);
    ASSERT_EQ(Print(WritePwg(m_dir / "whole.pwg", 300, ink), "image/pwg-raster"), 0);
    EXPECT_FALSE(WaitForPicture().isNull());
    std::string jobs;
    EXPECT_TRUE(WaitFor(
        [&] {
            Ipp("jobs.test", {}, &jobs);
            return jobs.find("aborted") != std::string::npos && jobs.find("completed") != std::string::npos;
        },
        10000))
        << jobs;
    EXPECT_TRUE(Contains(m_dir / "server.log", "Unable to read raster stream"));
}

// The web page in a real browser: a printer added on the network printer's port 9100, then
// one of its defaults changed, as an operator would.
TEST_F(PrinterApplication, TheWebPageAddsAPrinterAndChangesItsDefault)
{
    m_vpPort = 9100;
    StartVirtualPrinter();
    StartServer();
    tallyx::test::WebDriver browser;
    ASSERT_TRUE(browser.Ok()) << browser.Error();
    const std::string site = "http://localhost:" + std::to_string(m_port);
    ASSERT_TRUE(browser.Navigate(site + "/addprinter")) << browser.Error();
    const std::string name = browser.WaitFor("input[name=printer_name]");
    ASSERT_FALSE(name.empty()) << browser.Error();
    ASSERT_TRUE(browser.Type(name, "till"));
    browser.Execute("const d = document.getElementById('device_uri'); d.value = 'socket';"
                    "d.dispatchEvent(new Event('change'));"
                    "document.querySelector('select[name=driver_name]').value = 'zh-80';");
    ASSERT_TRUE(browser.Type(browser.Find("#hostname"), "127.0.0.1"));
    ASSERT_TRUE(browser.Click(browser.Find("input[type=submit]")));
    ASSERT_TRUE(WaitFor([&] { return Contains(m_dir / "server.log", "Printer 'till' at resource path"); }, 10000));

    ASSERT_TRUE(browser.Navigate(site + "/till/printing")) << browser.Error();
    const std::string cut = browser.WaitFor("select[name=cut-when]");
    ASSERT_FALSE(cut.empty()) << browser.Error();
    // The setting is shown in the program's words.
    EXPECT_EQ(browser.Execute("return document.querySelector('select[name=cut-when]').closest('tr')"
                              ".querySelector('th').textContent;"),
              "Cut the paper:");
    browser.Execute("document.querySelector('select[name=cut-when]').value = 'after-page';");
    ASSERT_TRUE(browser.Click(browser.Find("input[type=submit]")));

    std::string out;
    EXPECT_TRUE(WaitFor(
        [&] {
            RunProgram({"/usr/bin/ipptool", "-t", "ipp://localhost:" + std::to_string(m_port) + "/ipp/print/till",
                        std::string(TEST_FILES) + "/printer-defaults.test"},
                       &out);
            return out.find("cut-when-default (keyword) = after-page") != std::string::npos;
        },
        10000))
        << out;
}

} // namespace
} // namespace tallyx::printer::test
