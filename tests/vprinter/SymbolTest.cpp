// GS ( k: QR codes and PDF417 drawn so that a scanner reads back the data stored, at the
// module sizes and levels the tool sends and in the standard forms other software sends.
#include <gtest/gtest.h>

#include "tests/vprinter/PrinterProbe.h"
#include "tests/vprinter/SymbolReader.h"

namespace tallyx::vprinter::test {
namespace {

using ZXing::BarcodeFormat;

std::string Hex2(int v)
{
    return tallyx::test::Hex(Bytes{uint8_t(v)});
}

// GS ( k store: pL pH cn 50 30 and the data.
std::string Store(const char* cn, std::string_view data)
{
    const size_t k = data.size() + 3;
    return "1D 28 6B " + Hex2(int(k % 256)) + " " + Hex2(int(k / 256)) + " " + cn + " 50 30 " +
           tallyx::test::Hex(Bytes(data.begin(), data.end()));
}

const Picture* OnlyPicture(const Receipt& r)
{
    if (r.blocks.size() != 1) return nullptr;
    return std::get_if<Picture>(&r.blocks[0]);
}

TEST(QrCode, EverySizeAndLevelReadsBackAsTheDataStored)
{
    const std::string data = "tallyx QR 1234";
    // The level byte as the tool sends it (0..3) and as the standard form ("0".."3").
    const char* const levels[] = {"00", "01", "02", "03", "30", "31", "32", "33"};
    for (int size : {1, 3, 8}) {
        int width1 = 0;
        for (const char* level : levels) {
            SCOPED_TRACE(std::to_string(size) + " level " + level);
            PrinterProbe p;
            p.FeedHex("1D 28 6B 03 00 31 43 " + Hex2(size) + " 1D 28 6B 03 00 31 45 " + level + " " +
                      Store("31", data) + " 1B 61 31 1D 28 6B 03 00 31 51 30 1B 61 30");
            const Picture* pic = OnlyPicture(p.interpreter.CurrentReceipt());
            ASSERT_NE(pic, nullptr);
            EXPECT_EQ(pic->width % size, 0);
            EXPECT_EQ(pic->width, pic->height);
            EXPECT_EQ(pic->x, (384 - pic->width) / 2) << "centred by ESC a 1";
            const int scale = size == 1 ? 3 : 1;
            EXPECT_EQ(ReadSymbols(ReceiptPicture(p.interpreter.CurrentReceipt(), scale), BarcodeFormat::QRCode),
                      std::vector<std::string>{data});
            if (std::string(level) == "30") width1 = pic->width / size;
        }
        // 14 bytes at level L fit version 1: 21 modules.
        EXPECT_EQ(width1, 21);
    }
}

TEST(QrCode, ModuleSizeSetsTheDrawnSize)
{
    struct Row {
        int size;
        int dots;
    } rows[] = {{1, 21}, {3, 63}, {8, 168}, {16, 336}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.size);
        PrinterProbe p;
        p.FeedHex("1D 28 6B 03 00 31 43 " + Hex2(row.size) + " " + Store("31", "abc") + " 1D 28 6B 03 00 31 51 30");
        const Picture* pic = OnlyPicture(p.interpreter.CurrentReceipt());
        ASSERT_NE(pic, nullptr);
        EXPECT_EQ(pic->width, row.dots);
        EXPECT_EQ(pic->height, row.dots);
    }
}

TEST(QrCode, StandardFormsAndOutOfRangeValues)
{
    ExpectMeanings(
        {
            {"1D 28 6B 04 00 31 41 32 00", "QR model 2"},
            {"1D 28 6B 04 00 31 41 31 00", "QR model 1 (printed as model 2)"},
            {"1D 28 6B 04 00 31 41 34 00", "QR model: invalid, ignored"},
            {"1D 28 6B 03 00 31 43 00", "QR module size: invalid, ignored"},
            {"1D 28 6B 03 00 31 43 11", "QR module size: invalid, ignored"},
            {"1D 28 6B 03 00 31 45 04", "QR error correction: invalid, ignored"},
            {"1D 28 6B 03 00 31 45 34", "QR error correction: invalid, ignored"},
            {"1D 28 6B 03 00 31 45 33", "QR error correction H"},
            {"1D 28 6B 03 00 31 51 30", "QR print: no data stored"},
        },
        "two-dimensional symbol or extended function: ");
}

TEST(QrCode, SymbolWiderThanThePaperIsNotPrinted)
{
    PrinterProbe p;
    p.FeedHex("1D 28 6B 03 00 31 43 10 " + Store("31", std::string(100, 'x')) + " 1D 28 6B 03 00 31 51 30");
    EXPECT_TRUE(p.interpreter.CurrentReceipt().Empty());
    EXPECT_NE(p.LastLog().meaning.find("wider than the paper (384), not printed"), std::string::npos)
        << p.LastLog().meaning;
}

const char* const kPdfSetUp = "1D 28 6B 03 00 30 43 03 1D 28 6B 03 00 30 44 03 ";

TEST(Pdf417, StandardAndTruncatedReadBackAsTheDataStored)
{
    const std::string data = "PDF417 from tallyx, 0123456789";
    struct Row {
        const char* option;
        int frameModules;   // start, stop and row indicators
    } rows[] = {{"00", 69}, {"01", 35}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.option);
        PrinterProbe p;
        p.FeedHex(std::string("1D 28 6B 03 00 30 41 03 ") + kPdfSetUp + "1D 28 6B 03 00 30 46 " + row.option +
                  " 1D 28 6B 04 00 30 45 30 01 " + Store("30", data) + " 1B 61 31 1D 28 6B 03 00 30 51 30");
        const Picture* pic = OnlyPicture(p.interpreter.CurrentReceipt());
        ASSERT_NE(pic, nullptr);
        EXPECT_EQ(pic->width, 3 * (3 * 17 + row.frameModules));
        EXPECT_EQ(pic->height % 9, 0) << "rows of 3 x 3 dots";
        if (row.frameModules == 69) {   // ZXing reads the standard form only
            EXPECT_EQ(ReadSymbols(ReceiptPicture(p.interpreter.CurrentReceipt()), BarcodeFormat::PDF417),
                      std::vector<std::string>{data});
        }
    }
}

TEST(Pdf417, ErrorCorrectionAsALevelOrARatio)
{
    const std::string data = "level test";
    struct Row {
        const char* bytes;
        const char* meaning;
    } rows[] = {
        {"30 00", "PDF417 error correction level 0"}, {"30 08", "PDF417 error correction level 8"},
        {"30 30", "PDF417 error correction level 0"}, {"30 38", "PDF417 error correction level 8"},
        {"30 09", "PDF417 error correction: invalid value, ignored"},
        {"30 39", "PDF417 error correction: invalid value, ignored"},
        {"31 01", "PDF417 error correction ratio 10%"}, {"31 28", "PDF417 error correction ratio 400%"},
        {"31 00", "PDF417 error correction: invalid value, ignored"},
        {"31 29", "PDF417 error correction: invalid value, ignored"},
    };
    int lastRows = 0;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.bytes);
        PrinterProbe p;
        // Six columns of 2-dot modules: room for the 512 correction words of level 8.
        p.FeedHex(std::string("1D 28 6B 03 00 30 41 06 1D 28 6B 03 00 30 43 02 1D 28 6B 04 00 30 45 ") + row.bytes);
        EXPECT_EQ(p.LastLog().meaning, std::string("two-dimensional symbol or extended function: ") + row.meaning);
        p.FeedHex(Store("30", data) + " 1D 28 6B 03 00 30 51 30");
        const Picture* pic = OnlyPicture(p.interpreter.CurrentReceipt());
        ASSERT_NE(pic, nullptr);
        EXPECT_EQ(ReadSymbols(ReceiptPicture(p.interpreter.CurrentReceipt()), BarcodeFormat::PDF417),
                  std::vector<std::string>{data});
        if (std::string(row.bytes) == "30 00") lastRows = pic->height;
        if (std::string(row.bytes) == "30 08") {
            EXPECT_GT(pic->height, lastRows) << "level 8 adds rows";
        }
    }
}

TEST(Pdf417, ColumnsRowsWidthAndHeightShapeTheSymbol)
{
    struct Row {
        const char* setup;
        int width, height;
    } rows[] = {
        {"30 41 01 1D 28 6B 03 00 30 42 0A 1D 28 6B 03 00 30 43 02 1D 28 6B 03 00 30 44 04", 2 * 86, 10 * 8},
        {"30 41 02 1D 28 6B 03 00 30 42 14 1D 28 6B 03 00 30 43 03 1D 28 6B 03 00 30 44 02", 3 * 103, 20 * 6},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.setup);
        PrinterProbe p;
        p.FeedHex(std::string("1D 28 6B 03 00 ") + row.setup + " " + Store("30", "shape") + " 1D 28 6B 03 00 30 51 30");
        const Picture* pic = OnlyPicture(p.interpreter.CurrentReceipt());
        ASSERT_NE(pic, nullptr);
        EXPECT_EQ(pic->width, row.width);
        EXPECT_EQ(pic->height, row.height);
    }
}

TEST(Pdf417, AutomaticColumnsKeepTheSymbolOnThePaper)
{
    PrinterProbe p;
    p.FeedHex(std::string(kPdfSetUp) + Store("30", std::string(500, 'Q')) + " 1D 28 6B 03 00 30 51 30");
    const Picture* pic = OnlyPicture(p.interpreter.CurrentReceipt());
    ASSERT_NE(pic, nullptr);
    EXPECT_LE(pic->width, 384);
    EXPECT_EQ(ReadSymbols(ReceiptPicture(p.interpreter.CurrentReceipt()), BarcodeFormat::PDF417),
              std::vector<std::string>{std::string(500, 'Q')});
}

// GS ( k cn fn and its parameters, in hex.
std::string Function(const char* cn, const char* fn, const char* params = "")
{
    const size_t k = 2 + (std::string(params).size() + 1) / 3;
    return "1D 28 6B " + Hex2(int(k)) + " 00 " + cn + " " + fn + (*params ? " " : "") + params;
}

TEST(TwoDimensionalSymbols, MaxiCodeDataBarAztecAndDataMatrixReadBackAsTheDataStored)
{
    const std::string ups = std::string("[)>\x1E" "01\x1D" "96") + "152382802\x1D" "840\x1D" "001\x1D" "1Z00004951\x1DUPSN";
    struct Row {
        const char* name;
        std::string setup;
        std::string stored;   // in hex: the store function's bytes after m
        BarcodeFormat format;
        std::string read;
    } rows[] = {
        {"MaxiCode mode 4", Function("32", "41", "34"), "Hello MaxiCode 1234", BarcodeFormat::MaxiCode,
         "Hello MaxiCode 1234"},
        {"MaxiCode mode 2 (postcode, country, service)", "", ups, BarcodeFormat::MaxiCode, ups},
        {"Aztec Code", "", "Aztec from tallyx", BarcodeFormat::Aztec, "Aztec from tallyx"},
        {"Aztec Code compact, 4 layers, 50%", Function("35", "30", "01 04") + " " + Function("35", "32", "32"),
         "Aztec", BarcodeFormat::Aztec, "Aztec"},
        {"Data Matrix", Function("36", "43", "04"), "DataMatrix tallyx", BarcodeFormat::DataMatrix,
         "DataMatrix tallyx"},
        {"Data Matrix rectangle", Function("36", "42", "01 00 00"), "DataMatrix tallyx", BarcodeFormat::DataMatrix,
         "DataMatrix tallyx"},
        {"Data Matrix 32 x 32", Function("36", "42", "00 20 20"), "DM", BarcodeFormat::DataMatrix, "DM"},
        {"DataBar Stacked Omnidirectional", "", "I0952123454321", BarcodeFormat::DataBar, "09521234543213"},
        {"DataBar Expanded Stacked", Function("33", "47", "6A 00"), "L(01)09521234543213(10)ABC123",
         BarcodeFormat::DataBarExpanded, "(01)09521234543213(10)ABC123"},
    };
    const char* cns[] = {"32", "32", "35", "35", "36", "36", "36", "33", "33"};
    for (size_t i = 0; i < std::size(rows); ++i) {
        const Row& row = rows[i];
        SCOPED_TRACE(row.name);
        TmT88Probe p;
        // Centred: ZXing looks for an Aztec Code's bull's eye from the middle of the picture.
        p.FeedHex(row.setup + " " + Store(cns[i], row.stored) + " 1B 61 01 " + Function(cns[i], "51", "30"));
        ASSERT_NE(OnlyPicture(p.interpreter.CurrentReceipt()), nullptr) << p.LastLog().meaning;
        EXPECT_EQ(ReadSymbols(ReceiptPicture(p.interpreter.CurrentReceipt()), row.format),
                  std::vector<std::string>{row.read});
    }
}

TEST(TwoDimensionalSymbols, OtherSymbolsSetUpAndTheirOutOfRangeValues)
{
    ExpectMeanings(
        {
            {"1D 28 6B 03 00 32 41 36", "MaxiCode mode 6"},
            {"1D 28 6B 03 00 32 41 31", "MaxiCode mode: invalid, ignored"},
            {"1D 28 6B 03 00 32 51 30", "MaxiCode print: no data stored"},
            {"1D 28 6B 06 00 32 50 30 31 32 33 1D 28 6B 03 00 32 51 30",
             "MaxiCode print: mode 2 takes a postcode, country and service first, each ended by GS, not printed"},
            {"1D 28 6B 0F 00 32 50 30 31 32 33 1D 38 34 30 1D 30 30 31 1D 1D 28 6B 03 00 32 51 30",
             "MaxiCode print: no secondary message after the postcode, country and service, not printed"},
            {"1D 28 6B 03 00 33 43 09", "GS1 DataBar module width: invalid, ignored"},
            {"1D 28 6B 04 00 33 47 69 00", "GS1 DataBar Expanded Stacked width: invalid, ignored"},
            {"1D 28 6B 05 00 33 50 30 47 31 1D 28 6B 03 00 33 51 30",
             "GS1 DataBar print: type 71 not supported, not printed"},
            {"1D 28 6B 05 00 33 50 30 48 31 1D 28 6B 03 00 33 51 30",
             "GS1 DataBar print: takes 13 digits, got 1, not printed"},
            {"1D 28 6B 04 00 35 30 01 05", "Aztec Code mode: invalid, ignored"},
            {"1D 28 6B 04 00 35 30 00 20", "Aztec Code full range, 32 layers"},
            {"1D 28 6B 03 00 35 31 01", "Aztec Code module size: invalid, ignored"},
            {"1D 28 6B 03 00 35 32 60", "Aztec Code error correction: invalid, ignored"},
            {"1D 28 6B 05 00 36 42 00 10 00", "Data Matrix type: invalid, ignored"},
            {"1D 28 6B 03 00 36 43 11", "Data Matrix module size: invalid, ignored"},
            {"1D 28 6B 05 00 36 42 00 0B 0B 1D 28 6B 04 00 36 50 30 41 1D 28 6B 03 00 36 51 30",
             "Data Matrix print: no symbol of 11 x 11 modules holds the data, not printed"},
        },
        "two-dimensional symbol or extended function: ");
}

TEST(TwoDimensionalSymbols, MalformedCommandsNeitherCrashNorDraw)
{
    struct Row {
        const char* name;
        std::string stream;
    } rows[] = {
        {"length 0", "1D 28 6B 00 00 1D 28 6B 03 00 31 51 30"},
        {"length 1", "1D 28 6B 01 00 31 1D 28 6B 03 00 31 51 30"},
        {"length 65535 cut off", "1D 28 6B FF FF 31 50 30 41 42 43"},
        {"store cut off", "1D 28 6B 10 00 31 50 30 41 42"},
        {"print cut off", "1D 28 6B 03 00 31 50 30 1D 28 6B 03 00 31 51"},
        {"MaxiCode nothing stored", "1D 28 6B 03 00 32 51 30"},
        {"unknown symbol", "1D 28 6B 03 00 37 51 30"},
        {"PDF417 nothing stored", "1D 28 6B 03 00 30 51 30"},
        {"PDF417 rows 2", "1D 28 6B 03 00 30 42 02 1D 28 6B 03 00 30 51 30"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        PrinterProbe p;
        p.FeedHex(row.stream);
        p.interpreter.Idle();
        EXPECT_TRUE(p.receipts.empty());
    }
}

TEST(TwoDimensionalSymbols, DataTooLongForTheSymbolIsLoggedNotDrawn)
{
    PrinterProbe p;
    const std::string store = "1D 28 6B FF FF 31 50 30";
    p.FeedHex(store);
    const Bytes data(65532, 'x');
    p.interpreter.Feed(data.data(), data.size(), "tcp");
    p.FeedHex("1D 28 6B 03 00 31 51 30");
    EXPECT_TRUE(p.interpreter.CurrentReceipt().Empty());
    EXPECT_NE(p.LastLog().meaning.find("not printed"), std::string::npos) << p.LastLog().meaning;
}

} // namespace
} // namespace tallyx::vprinter::test
