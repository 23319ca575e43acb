// Bitmap files into the column raster: pixels of every depth, the ink threshold, the
// widening to whole bytes, the size limit, and every refusal with its message.
#include <gtest/gtest.h>

#include <algorithm>

#include "commands/Bitmap.h"
#include "tests/support/BmpWriter.h"
#include "tests/support/Hex.h"

using namespace tallyx;
using namespace tallyx::test;

namespace {

std::string Repeat(const std::string& hex, int times)
{
    std::string out;
    for (int i = 0; i < times; ++i) out += (out.empty() ? "" : " ") + hex;
    return out;
}

std::string Data(const BitmapRaster& r, size_t h)
{
    return Hex(Bytes(g_imageCmdBuf.begin() + long(h), g_imageCmdBuf.begin() + long(r.end)));
}

// Loads def at header length h and returns its column data, or "refused: <text>".
std::string Columns(const BmpDef& def, const std::string& name, size_t h = 4)
{
    const RasterResult r = LoadBitmapRaster(WriteBmp(def, name), h);
    if (const Message* m = r.refusal()) return "refused: " + std::string(m->text);
    return Data(r.raster(), h);
}

void ExpectRefused(const RasterResult& r, const std::string& text)
{
    ASSERT_FALSE(r.ok());
    EXPECT_EQ(r.refusal()->caption, "tallyx");
    EXPECT_EQ(r.refusal()->text, text);
}

std::vector<std::array<uint8_t, 3>> WhitePalette(size_t entries, std::initializer_list<size_t> black)
{
    std::vector<std::array<uint8_t, 3>> p(entries, {255, 255, 255});
    for (size_t i : black) p[i] = {0, 0, 0};
    return p;
}

} // namespace

TEST(Bitmap, BlackAndWhiteFollowThePaletteNotTheBitValue)
{
    BmpDef s = AllBlack(8, 8);
    const RasterResult r = LoadBitmapRaster(WriteBmp(s, "palette0black.bmp"), 4);
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(r.raster().x, 1);
    EXPECT_EQ(r.raster().y, 1);
    EXPECT_EQ(r.raster().dataLength, 8u);
    EXPECT_EQ(r.raster().end, 12u);
    EXPECT_EQ(Data(r.raster(), 4), "FF FF FF FF FF FF FF FF");

    s.palette = kWhiteBlack;
    EXPECT_EQ(Columns(s, "palette0white.bmp"), "00 00 00 00 00 00 00 00");
}

TEST(Bitmap, EveryDepthReadsItsPixels)
{
    struct Row {
        const char* name;
        uint16_t bits;
        std::vector<std::array<uint8_t, 3>> palette;
        std::vector<uint32_t> columns;   // value of every pixel of column x
        const char* expected;
    };
    const Row rows[] = {
        // The most significant bit is the leftmost pixel.
        {"1bit", 1, kWhiteBlack, {1, 0, 0, 0, 0, 0, 0, 0}, "FF 00 00 00 00 00 00 00"},
        // Even columns in the high four bits; entries 3 and 15 black.
        {"4bit", 4, WhitePalette(16, {3, 15}), {3, 12, 3, 12, 3, 12, 3, 15}, "FF 00 FF 00 FF 00 FF FF"},
        {"8bit", 8, WhitePalette(256, {200, 255}), {200, 1, 2, 3, 4, 5, 6, 255}, "FF 00 00 00 00 00 00 FF"},
        // 5-5-5: bit 15 ignored; grey 15 -> 123 black, grey 16 -> 131 white; red 76, green 150.
        {"16bit", 16, {}, {0x0000, 0x7FFF, 0xFFFF, 0x8000, 0x3DEF, 0x4210, 0x7C00, 0x03E0}, "FF 00 00 FF FF 00 FF 00"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        BmpDef s;
        s.bits = row.bits;
        s.palette = row.palette;
        s.pixel = [&row](int x, int) { return row.columns[size_t(x)]; };
        EXPECT_EQ(Columns(s, std::string(row.name) + ".bmp"), row.expected);
    }
}

TEST(Bitmap, LuminanceBelow128IsBlack)
{
    // (128,128,128) 128 white; (127,127,127) black; red 76 black; green 150 white; blue 28 black.
    const std::vector<uint32_t> colours{0x808080, 0x7F7F7F, 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF, 0x000000, 0x808080};
    for (uint16_t bits : {24, 32}) {
        SCOPED_TRACE(bits);
        BmpDef s;
        s.bits = bits;
        s.pixel = [&colours](int x, int) { return colours[size_t(x)]; };
        EXPECT_EQ(Columns(s, "rgb" + std::to_string(bits) + ".bmp"), "00 FF FF 00 FF 00 FF 00");
    }
}

TEST(Bitmap, NinePixelsWideIsWidenedToTwoBytesOfWhite)
{
    const RasterResult r = LoadBitmapRaster(WriteBmp(AllBlack(9, 8), "wide9.bmp"), 4);
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(r.raster().x, 2);
    EXPECT_EQ(r.raster().y, 1);
    EXPECT_EQ(Data(r.raster(), 4), Repeat("FF", 9) + " " + Repeat("00", 7));
}

TEST(Bitmap, TenPixelsHighEndsEachColumnWithTwoRows)
{
    struct Row {
        const char* name;
        std::function<bool(int top)> black;
        const char* column;
    };
    const Row rows[] = {
        {"all", [](int) { return true; }, "FF C0"},
        {"top row", [](int top) { return top == 0; }, "80 00"},
        {"bottom row", [](int top) { return top == 9; }, "00 40"},
        {"rows 8 and 9", [](int top) { return top >= 8; }, "00 C0"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        BmpDef s;
        s.height = 10;
        s.palette = kWhiteBlack;
        s.pixel = [&row](int, int top) { return row.black(top) ? 1u : 0u; };
        const RasterResult r = LoadBitmapRaster(WriteBmp(s, "high10.bmp"), 7);
        ASSERT_TRUE(r.ok());
        EXPECT_EQ(r.raster().y, 2);
        EXPECT_EQ(Data(r.raster(), 7), Repeat(row.column, 8));
    }
}

TEST(Bitmap, SizeLimitIs16368BytesWithTheHeader)
{
    for (size_t h : {4, 7}) {
        SCOPED_TRACE(h);
        const RasterResult fits = LoadBitmapRaster(WriteBmp(AllBlack(384, 336), "384x336.bmp"), h);
        ASSERT_TRUE(fits.ok());
        EXPECT_EQ(fits.raster().x, 48);
        EXPECT_EQ(fits.raster().y, 42);
        EXPECT_EQ(fits.raster().dataLength, 16128u);
        EXPECT_EQ(fits.raster().end, h + 16128);
        EXPECT_TRUE(std::all_of(g_imageCmdBuf.begin() + long(h), g_imageCmdBuf.begin() + long(h + 16128),
                                [](uint8_t b) { return b == 0xFF; }));

        ExpectRefused(LoadBitmapRaster(WriteBmp(AllBlack(384, 337), "384x337.bmp"), h), "位图数据太大了，操作失败!");
        // 28 x 73 = 2044 column bytes fit with either header; 66 x 31 = 2046 do not.
        EXPECT_TRUE(LoadBitmapRaster(WriteBmp(AllBlack(224, 584), "224x584.bmp"), h).ok());
        ExpectRefused(LoadBitmapRaster(WriteBmp(AllBlack(528, 248), "528x248.bmp"), h), "位图数据太大了，操作失败!");
    }
}

TEST(Bitmap, HeaderChecksComeInTheirOrder)
{
    const std::vector<std::function<void(BmpDef&)>> faults{
        [](BmpDef& s) { s.type = 0x4D43; },
        [](BmpDef& s) { s.reserved1 = 1; },
        [](BmpDef& s) { s.reserved2 = 1; },
        [](BmpDef& s) { s.clrImportant = 2; },
        [](BmpDef& s) { s.compression = 1; },
        [](BmpDef& s) { s.planes = 2; },
        [](BmpDef& s) { s.bits = 2; },
    };
    const char* messages[] = {
        "位图文件格式有误0x01!", "位图文件格式有误0x02!", "位图文件格式有误0x03!", "位图文件格式有误0x04!",
        "位图文件格式有误0x05!", "位图文件格式有误0x06!", "BMP位图格式不支持!",
    };
    for (size_t first = 0; first < faults.size(); ++first) {
        SCOPED_TRACE(messages[first]);
        BmpDef alone = AllBlack(8, 8);
        faults[first](alone);
        ExpectRefused(LoadBitmapRaster(WriteBmp(alone, "fault.bmp"), 4), messages[first]);
        // With every later fault present as well, this one is still the one reported.
        BmpDef all = AllBlack(8, 8);
        for (size_t i = first; i < faults.size(); ++i) faults[i](all);
        ExpectRefused(LoadBitmapRaster(WriteBmp(all, "faults.bmp"), 4), messages[first]);
    }
}

TEST(Bitmap, PlanesAreCheckedBeforeTheBitCount)
{
    BmpDef s = AllBlack(8, 8);
    s.planes = 2;
    ExpectRefused(LoadBitmapRaster(WriteBmp(s, "planes2.bmp"), 4), "位图文件格式有误0x06!");
    s.compression = 1;   // run-length compressed, 8 bits
    s.planes = 1;
    s.bits = 8;
    ExpectRefused(LoadBitmapRaster(WriteBmp(s, "rle8.bmp"), 4), "位图文件格式有误0x05!");
}

TEST(Bitmap, OnlyTheSixDepthsAreSupported)
{
    for (uint16_t bits : {0, 2, 3, 15, 64}) {
        SCOPED_TRACE(bits);
        BmpDef s = AllBlack(8, 8);
        s.bits = bits;
        ExpectRefused(LoadBitmapRaster(WriteBmp(s, "depth.bmp"), 4), "BMP位图格式不支持!");
    }
}

TEST(Bitmap, PixelsAreReadRightBehindThePalette)
{
    // bfOffBits points four bytes further; those four bytes are taken as the bottom row.
    BmpDef s = AllBlack(8, 8);
    s.gap = {0xFF, 0xFF, 0xFF, 0xFF};
    EXPECT_EQ(Columns(s, "gap.bmp"), Repeat("FE", 8));
}
