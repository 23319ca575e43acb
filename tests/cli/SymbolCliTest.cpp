// tallyx-cli barcode, qr and pdf417: the symbol dialogs' bytes, messages and choices.
#include <gtest/gtest.h>

#include "tests/cli/CliRun.h"
#include "tests/support/RecordingPlatform.h"

using namespace tallyx;
using namespace tallyx::test;

namespace {

const std::string kSetUp = "1D 48 02 1D 66 00 1D 68 60 1D 77 03 1D 78 00 ";
const std::string kQrAbc = "1D 28 6B 03 00 31 43 08 1D 28 6B 03 00 31 45 01 1D 28 6B 06 00 31 50 30 61 62 63 "
                           "1B 61 31 1D 28 6B 03 00 31 51 30 1B 61 30\n";
const std::string kPdfShape = "1D 28 6B 03 00 30 41 00 1D 28 6B 03 00 30 42 00 1D 28 6B 03 00 30 43 03 "
                              "1D 28 6B 03 00 30 44 03 1D 28 6B 03 00 30 46 00 ";
const std::string kPdfTail = "1B 61 31 1D 28 6B 03 00 30 51 30 1B 61 30\n";

} // namespace

TEST(SymbolCli, BarcodeDryRuns)
{
    ExpectCliRows({
        {{"--dry-run", "barcode", "--type", "UPC-A", "12345678901"}, 0,
         kSetUp + "1D 6B 41 0B 31 32 33 34 35 36 37 38 39 30 31\n", ""},
        {{"--dry-run", "barcode", "--type", "EAN13", "--hri", "none", "--hri-font", "9X24", "--height", "256",
          "--width", "-1", "--margin", "300", "123456789012"},
         0, "1D 48 00 1D 66 02 1D 68 A2 1D 77 08 1D 78 2C 1D 6B 43 0C 31 32 33 34 35 36 37 38 39 30 31 32\n", ""},
        {{"--dry-run", "barcode", "--type", "EAN13(JAN13)", "--hri", "上下", "--hri-font", "9X17", "--height=-5",
          "--width=0", "--margin=-1", "123456789012"},
         0, "1D 48 03 1D 66 01 1D 68 A2 1D 77 01 1D 78 FF 1D 6B 43 0C 31 32 33 34 35 36 37 38 39 30 31 32\n", ""},
        {{"--dry-run", "barcode", "--type", "JAN8", "--hri", "above", "--height", "11", "--width", "8", "1234567"},
         0, "1D 48 01 1D 66 00 1D 68 0B 1D 77 08 1D 78 00 1D 6B 44 07 31 32 33 34 35 36 37\n", ""},
        {{"--dry-run", "barcode", "--type", "CODE128", "--hri", "both", "中文"}, 0,
         "1D 48 03 1D 66 00 1D 68 60 1D 77 03 1D 78 00 1D 6B 49 04 D6 D0 CE C4\n", ""},
        {{"--dry-run", "barcode", "--type", "CODEBAR", "--hri", "下面", "--hri-font", "12X24", "A1B"}, 0,
         kSetUp + "1D 6B 47 03 41 31 42\n", ""},
        {{"--dry-run", "barcode", "--type", "UPC-E", "123456"}, 0, kSetUp + "1D 6B 42 06 31 32 33 34 35 36\n", ""},
        {{"--dry-run", "barcode", "--type", "CODE39", "-"}, 0, kSetUp + "1D 6B 45 01 2D\n", ""},
        {{"--dry-run", "barcode", "--type", "ITF", "12345"}, 0, kSetUp + "1D 6B 46 05 31 32 33 34 35\n", ""},
        {{"--dry-run", "barcode", "--type", "CODE93", "A B"}, 0, kSetUp + "1D 6B 48 03 41 20 42\n", ""},
        {{"--dry-run", "barcode", "--type", "CODE128", std::string(255, 'x')}, 0,
         kSetUp + "1D 6B 49 FF" + [] { std::string s; for (int i = 0; i < 255; ++i) s += " 78"; return s; }() + "\n", ""},
    });
}

TEST(SymbolCli, BarcodeRefusalsAndUsage)
{
    ExpectCliRows({
        {{"--dry-run", "barcode", "--type", "UPC-A", "1234567890"}, 2, "", "设置错误!字元个数不为11或12\n"},
        {{"--dry-run", "barcode", "--type", "UPC-A", "1234567890X"}, 2, "", "设置错误!字元不在0~9\n"},
        {{"--dry-run", "barcode", "--type", "CODEBAR", "1234"}, 2, "", "设置错误!起始符或终止符不在A~D\n"},
        {{"--dry-run", "barcode", "--type", "CODE39", "abc"}, 2, "", "设置错误!字元不支持\n"},
        {{"--dry-run", "barcode", "--type", "CODE128", ""}, 2, "", "请输入数据!\n"},
        {{"--dry-run", "barcode", "--type", "CODE128", std::string(256, 'x')}, 2, "", "输入的数据太多了!\n"},
        {{"--port", "COM1", "barcode", "--type", "CODE93", "ab"}, 2, "", "设置错误!字元不支持\n"},
        {{"--dry-run", "barcode", "12345678901"}, 64, "", ""},
        {{"--dry-run", "barcode", "--type", "EAN14", "1"}, 64, "", ""},
        {{"--dry-run", "barcode", "--type", "upc-a", "12345678901"}, 64, "", ""},
        {{"--dry-run", "barcode", "--type", "UPC-A", "--hri", "left", "12345678901"}, 64, "", ""},
        {{"--dry-run", "barcode", "--type", "UPC-A", "--hri-font", "8X16", "12345678901"}, 64, "", ""},
        {{"--dry-run", "barcode", "--type", "UPC-A", "--height", "tall", "12345678901"}, 64, "", ""},
        {{"--dry-run", "barcode", "--type", "UPC-A"}, 64, "", ""},
    });
}

TEST(SymbolCli, QrDryRunsAndRefusals)
{
    ExpectCliRows({
        {{"--dry-run", "qr", "abc"}, 0, kQrAbc, ""},
        {{"--dry-run", "qr", "--size", "8", "--ecc", "M", "abc"}, 0, kQrAbc, ""},
        {{"--dry-run", "qr", "--size", "1", "--ecc", "H", "x"}, 0,
         "1D 28 6B 03 00 31 43 01 1D 28 6B 03 00 31 45 03 1D 28 6B 04 00 31 50 30 78 "
         "1B 61 31 1D 28 6B 03 00 31 51 30 1B 61 30\n", ""},
        {{"--dry-run", "qr", "--ecc", "级别L", "x"}, 0,
         "1D 28 6B 03 00 31 43 08 1D 28 6B 03 00 31 45 00 1D 28 6B 04 00 31 50 30 78 "
         "1B 61 31 1D 28 6B 03 00 31 51 30 1B 61 30\n", ""},
        {{"--dry-run", "qr", "中文"}, 0,
         "1D 28 6B 03 00 31 43 08 1D 28 6B 03 00 31 45 01 1D 28 6B 07 00 31 50 30 D6 D0 CE C4 "
         "1B 61 31 1D 28 6B 03 00 31 51 30 1B 61 30\n", ""},
        {{"--dry-run", "qr", std::string(501, 'q')}, 2, "", "Input too long!\n"},
        {{"--dry-run", "qr", ""}, 2, "", "Input NULL!\n"},
        {{"--port", "COM1", "qr", ""}, 2, "", "Input NULL!\n"},
        {{"--dry-run", "qr", "--size", "9", "x"}, 64, "", ""},
        {{"--dry-run", "qr", "--size", "0", "x"}, 64, "", ""},
        {{"--dry-run", "qr", "--ecc", "X", "x"}, 64, "", ""},
        {{"--dry-run", "qr"}, 64, "", ""},
    });
}

TEST(SymbolCli, Pdf417DryRunsAndRefusals)
{
    ExpectCliRows({
        {{"--dry-run", "pdf417", "abc"}, 0,
         kPdfShape + "1D 28 6B 04 00 30 45 30 01 1D 28 6B 06 00 30 50 30 61 62 63 " + kPdfTail, ""},
        {{"--dry-run", "pdf417", "--ratio", "05", "a"}, 0,
         kPdfShape + "1D 28 6B 04 00 30 45 31 05 1D 28 6B 04 00 30 50 30 61 " + kPdfTail, ""},
        {{"--dry-run", "pdf417", "--level", "Level-8", "a"}, 0,
         kPdfShape + "1D 28 6B 04 00 30 45 30 08 1D 28 6B 04 00 30 50 30 61 " + kPdfTail, ""},
        {{"--dry-run", "pdf417", "--columns", "300", "--rows", "", "--module-width", "-1", "--row-height", "12abc",
          "--truncated", "--level", "Level-0", "a"},
         0,
         "1D 28 6B 03 00 30 41 2C 1D 28 6B 03 00 30 42 00 1D 28 6B 03 00 30 43 FF 1D 28 6B 03 00 30 44 0C "
         "1D 28 6B 03 00 30 46 01 1D 28 6B 04 00 30 45 30 00 1D 28 6B 04 00 30 50 30 61 " + kPdfTail, ""},
        {{"--dry-run", "pdf417", std::string(500, 'p')}, 0,
         kPdfShape + "1D 28 6B 04 00 30 45 30 01 1D 28 6B F7 01 30 50 30" +
             [] { std::string s; for (int i = 0; i < 500; ++i) s += " 70"; return s; }() + " " + kPdfTail, ""},
        {{"--dry-run", "pdf417", std::string(501, 'p')}, 2, "", "Input too long!\n"},
        {{"--dry-run", "pdf417", ""}, 2, "", "Input NULL!\n"},
        {{"--dry-run", "pdf417", "--level", "Level-9", "a"}, 64, "", ""},
        {{"--dry-run", "pdf417", "--level", "Level-1", "--ratio", "5", "a"}, 64, "", ""},
        {{"--dry-run", "pdf417"}, 64, "", ""},
    });
}

TEST(SymbolCli, ContentFromStandardInputKeepsItsBytes)
{
    ExpectCliRows({
        {{"--dry-run", "qr", "-"}, 0,
         "1D 28 6B 03 00 31 43 08 1D 28 6B 03 00 31 45 01 1D 28 6B 0A 00 31 50 30 61 0D 0A 62 0A D6 D0 "
         "1B 61 31 1D 28 6B 03 00 31 51 30 1B 61 30\n", "", "a\r\nb\n中"},
        {{"--dry-run", "pdf417", "-"}, 0,
         kPdfShape + "1D 28 6B 04 00 30 45 30 01 1D 28 6B 07 00 30 50 30 61 0D 0A 62 " + kPdfTail, "", "a\r\nb"},
        // --crlf: each lone LF becomes CR LF, an existing CR LF stays one.
        {{"--dry-run", "qr", "--crlf", "-"}, 0,
         "1D 28 6B 03 00 31 43 08 1D 28 6B 03 00 31 45 01 1D 28 6B 0B 00 31 50 30 61 0D 0A 62 0D 0A D6 D0 "
         "1B 61 31 1D 28 6B 03 00 31 51 30 1B 61 30\n", "", "a\r\nb\n中"},
        {{"--dry-run", "qr", "-"}, 2, "", "Input NULL!\n", ""},
        {{"--dry-run", "pdf417", "-"}, 2, "", "Input NULL!\n", ""},
        {{"--dry-run", "qr", "-"}, 2, "", "Input too long!\n", std::string(501, 'q')},
        {{"--dry-run", "pdf417", "-"}, 2, "", "Input too long!\n", std::string(100000, 'q')},
    });
}

TEST(SymbolCli, SendsThroughThePort)
{
    RecordingPlatform platform;
    const CliRun run = RunCliWith(platform, {"--port", "COM1", "barcode", "--type", "ITF", "12"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "");
    std::vector<std::string> writes;
    for (const auto& c : platform.calls)
        if (c.rfind("write ", 0) == 0) writes.push_back(c.substr(6));
    EXPECT_EQ(writes, std::vector<std::string>{kSetUp + "1D 6B 46 02 31 32"});
}

TEST(SymbolCli, PortThatDoesNotOpenIsALinkFailure)
{
    const std::vector<std::string> commands[] = {
        {"--port", "COM1", "barcode", "--type", "ITF", "12"},
        {"--port", "COM1", "qr", "abc"},
        {"--port", "COM1", "pdf417", "abc"},
    };
    for (const auto& args : commands) {
        SCOPED_TRACE(Join(args));
        RecordingPlatform platform;
        platform.serialOpens["COM1"] = false;
        const CliRun run = RunCliWith(platform, args);
        EXPECT_EQ(run.status, 3);
        EXPECT_EQ(run.err, "此端口被占用或已损坏\ntallyx-cli: /dev/ttyS0: no such device\n");
        for (const auto& c : platform.calls) EXPECT_NE(c.rfind("write ", 0), 0u) << c;
    }
}
