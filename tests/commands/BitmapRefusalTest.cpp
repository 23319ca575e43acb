// Files the header checks let through but no picture can be made of: missing, short,
// top-down, empty, too wide for the one-byte counts, or claiming a huge size.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>

#include "commands/Bitmap.h"
#include "tests/commands/AllocationProbe.h"
#include "tests/support/BmpWriter.h"
#include "tests/support/Hex.h"

using namespace tallyx;
using namespace tallyx::test;

namespace {

void ExpectRefused(const RasterResult& r, const std::string& text)
{
    ASSERT_FALSE(r.ok());
    EXPECT_EQ(r.refusal()->caption, "tallyx");
    EXPECT_EQ(r.refusal()->text, text);
}

std::string HeaderOnlyFile(uint16_t bits, int32_t width, int32_t height, const std::string& name)
{
    BmpDef s;
    s.bits = bits;
    std::vector<uint8_t> bytes = BmpBytes(s);
    bytes.resize(54);
    for (int i = 0; i < 4; ++i) {
        bytes[18 + i] = uint8_t(uint32_t(width) >> (8 * i));
        bytes[22 + i] = uint8_t(uint32_t(height) >> (8 * i));
    }
    return WriteFile(bytes, name);
}

const std::string kCannotOpen = "位图文件打开失败!";
const std::string kTruncated = "位图文件不完整!";
const std::string kBadSize = "位图宽度或高度有误!";
const std::string kTopDown = "不支持自上而下存储的位图!";
const std::string kTooWide = "位图宽度或高度超过2040点，操作失败!";
const std::string kTooLarge = "位图数据太大了，操作失败!";

} // namespace

TEST(BitmapRefusal, FileThatCannotBeOpened)
{
    ExpectRefused(LoadBitmapRaster(::testing::TempDir() + "tallyx_no_such_file.bmp", 4), kCannotOpen);
    ExpectRefused(LoadBitmapRaster(::testing::TempDir(), 4), kCannotOpen);   // a directory
    ExpectRefused(LoadBitmapRaster("", 4), kCannotOpen);
}

TEST(BitmapRefusal, FileShorterThanItsHeadersPaletteAndPixels)
{
    const std::vector<uint8_t> whole = BmpBytes(AllBlack(8, 8));
    ASSERT_EQ(whole.size(), 54u + 8 + 32);
    EXPECT_TRUE(LoadBitmapRaster(WriteFile(whole, "exact.bmp"), 4).ok());

    struct Row {
        const char* name;
        size_t keep;
    };
    const Row rows[] = {{"empty", 0}, {"half a header", 30}, {"53 bytes", 53}, {"headers only", 54},
                        {"half the palette", 58}, {"no pixels", 62}, {"one byte short", whole.size() - 1}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const std::vector<uint8_t> part(whole.begin(), whole.begin() + long(row.keep));
        ExpectRefused(LoadBitmapRaster(WriteFile(part, "short.bmp"), 4), kTruncated);
    }
    BmpDef rgb = AllBlack(8, 8);
    rgb.bits = 24;
    rgb.cut = 1;
    ExpectRefused(LoadBitmapRaster(WriteBmp(rgb, "short24.bmp"), 4), kTruncated);
}

TEST(BitmapRefusal, WidthAndHeightMustBePositive)
{
    struct Row {
        int32_t width, height;
        const std::string& text;
    };
    const Row rows[] = {
        {0, 8, kBadSize},  {-1, 8, kBadSize},   {-8, 8, kBadSize},       {INT_MIN, 8, kBadSize},
        {8, 0, kBadSize},  {0, -8, kBadSize},   {8, -8, kTopDown},       {8, INT_MIN, kTopDown},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::to_string(row.width) + " x " + std::to_string(row.height));
        ExpectRefused(LoadBitmapRaster(HeaderOnlyFile(1, row.width, row.height, "size.bmp"), 4), row.text);
    }
    const RasterResult dot = LoadBitmapRaster(WriteBmp(AllBlack(1, 1), "1x1.bmp"), 4);
    ASSERT_TRUE(dot.ok());
    EXPECT_EQ(Hex(Bytes(g_imageCmdBuf.begin() + 4, g_imageCmdBuf.begin() + long(dot.raster().end))),
              "80 00 00 00 00 00 00 00");
}

TEST(BitmapRefusal, SidesUpTo2040Pixels)
{
    const RasterResult wide = LoadBitmapRaster(WriteBmp(AllBlack(2040, 8), "2040x8.bmp"), 7);
    ASSERT_TRUE(wide.ok());
    EXPECT_EQ(wide.raster().x, 255);
    EXPECT_EQ(wide.raster().dataLength, 2040u);
    const RasterResult high = LoadBitmapRaster(WriteBmp(AllBlack(8, 2040), "8x2040.bmp"), 7);
    ASSERT_TRUE(high.ok());
    EXPECT_EQ(high.raster().y, 255);
    EXPECT_EQ(high.raster().dataLength, 2040u);
    // Within the size limit, but x or y would be sent as 0.
    ExpectRefused(LoadBitmapRaster(WriteBmp(AllBlack(2041, 8), "2041x8.bmp"), 7), kTooWide);
    ExpectRefused(LoadBitmapRaster(WriteBmp(AllBlack(8, 2041), "8x2041.bmp"), 7), kTooWide);
    ExpectRefused(LoadBitmapRaster(WriteBmp(AllBlack(2048, 8), "2048x8.bmp"), 4), kTooWide);
}

TEST(BitmapRefusal, HugeHeaderIsRefusedWithoutReadingOrAllocating)
{
    struct Row {
        uint16_t bits;
        int32_t width, height;
        const std::string& text;
    };
    const Row rows[] = {
        {24, 3000000, 2000000, kTooLarge},
        {32, INT_MAX, INT_MAX, kTooLarge},
        {1, INT_MAX, 1, kTooLarge},
        {8, 1, INT_MAX, kTooLarge},
        {32, 384, 336, kTruncated},   // fits the limit; its 516096 pixel bytes are not in the file
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::to_string(row.width) + " x " + std::to_string(row.height));
        const std::string path = HeaderOnlyFile(row.bits, row.width, row.height, "huge.bmp");
        ResetLargestAllocation();
        const RasterResult r = LoadBitmapRaster(path, 4);
        EXPECT_LT(LargestAllocation(), 64u * 1024);
        ExpectRefused(r, row.text);
    }
}

TEST(BitmapRefusal, RefusedFileLeavesTheBufferAndTheNextLoadStartsCleared)
{
    g_imageCmdBuf.fill(0xEE);
    BmpDef bad = AllBlack(8, 8);
    bad.reserved2 = 7;
    ASSERT_FALSE(LoadBitmapRaster(WriteBmp(bad, "bad.bmp"), 4).ok());
    EXPECT_TRUE(std::all_of(g_imageCmdBuf.begin(), g_imageCmdBuf.end(), [](uint8_t b) { return b == 0xEE; }));

    ASSERT_TRUE(LoadBitmapRaster(WriteBmp(AllBlack(384, 336), "big.bmp"), 7).ok());
    BmpDef white = AllBlack(8, 8);
    white.palette = kWhiteBlack;
    ASSERT_TRUE(LoadBitmapRaster(WriteBmp(white, "white.bmp"), 4).ok());
    EXPECT_TRUE(std::all_of(g_imageCmdBuf.begin(), g_imageCmdBuf.end(), [](uint8_t b) { return b == 0; }));
}

TEST(BitmapRefusal, EveryLoadReadsTheFileAfresh)
{
    const std::string path = WriteBmp(AllBlack(8, 8), "changing.bmp");
    const RasterResult first = LoadBitmapRaster(path, 4);
    ASSERT_TRUE(first.ok());
    EXPECT_EQ(g_imageCmdBuf[4], 0xFF);
    BmpDef white = AllBlack(8, 8);
    white.palette = kWhiteBlack;
    WriteBmp(white, "changing.bmp");
    ASSERT_TRUE(LoadBitmapRaster(path, 4).ok());
    EXPECT_EQ(g_imageCmdBuf[4], 0x00);
}
