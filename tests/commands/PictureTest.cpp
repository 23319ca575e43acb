// Pictures into dots and commands: every method keeps the tones, transparency stays paper,
// fitting averages, and the bands carry every row once, in the commands' own bytes.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <numeric>

#include "commands/Picture.h"
#include "tests/support/Hex.h"

using namespace tallyx;
using namespace tallyx::test;

namespace {

struct Image {
    std::vector<uint8_t> bytes;
    PixelRows rows;
};

Image Grey(int width, int height, const std::function<uint8_t(int x, int y)>& value)
{
    Image image;
    image.bytes.resize(size_t(width) * size_t(height));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) image.bytes[size_t(y * width + x)] = value(x, y);
    image.rows = {image.bytes.data(), width, height, size_t(width), PixelFormat::Grey};
    return image;
}

Image Rgba(int width, int height, const std::function<std::array<uint8_t, 4>(int x, int y)>& value)
{
    Image image;
    image.bytes.resize(4 * size_t(width) * size_t(height));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const auto p = value(x, y);
            std::copy(p.begin(), p.end(), image.bytes.begin() + long(4 * (y * width + x)));
        }
    image.rows = {image.bytes.data(), width, height, 4 * size_t(width), PixelFormat::Rgba};
    return image;
}

DotPicture Dots(const Image& image, DitherMethod method, int darkness = 0)
{
    PictureOptions options;
    options.method = method;
    options.darkness = darkness;
    const PictureResult result = ConvertPicture(image.rows, options);
    EXPECT_TRUE(result.ok());
    return result.ok() ? result.dots() : DotPicture{};
}

// Ink in columns [x0, x1) of every row, as a fraction.
double Ink(const DotPicture& d, int x0, int x1)
{
    int ink = 0;
    for (int y = 0; y < d.height; ++y)
        for (int x = x0; x < x1; ++x) ink += d.Dot(x, y);
    return double(ink) / double((x1 - x0) * d.height);
}

// Dots from a 3 x 2 picture of rows "#.#" and ".#.".
DotPicture Small()
{
    return {3, 2, {0xA0, 0x40}};
}

} // namespace

TEST(Picture, EveryMethodKeepsAGradientsTones)
{
    // A grey ramp 256 dots across, 96 rows: each 32-column block must carry its mean ink.
    const Image ramp = Grey(256, 96, [](int x, int) { return uint8_t(x); });
    struct Row {
        DitherMethod method;
        double tolerance;
    };
    // Largest block error measured: 0.0035 Floyd-Steinberg, 0.0061 Jarvis, Stucki and
    // Sierra, 0.0017 Bayer; Atkinson 0.082 (it passes on 6/8 of the error by design).
    for (const Row& row : {Row{DitherMethod::FloydSteinberg, 0.01}, Row{DitherMethod::Atkinson, 0.09},
                           Row{DitherMethod::Jarvis, 0.01}, Row{DitherMethod::Stucki, 0.01},
                           Row{DitherMethod::Sierra, 0.01}, Row{DitherMethod::Bayer4, 0.005},
                           Row{DitherMethod::Bayer8, 0.005}}) {
        SCOPED_TRACE(int(row.method));
        const DotPicture d = Dots(ramp, row.method);
        for (int block = 0; block < 8; ++block) {
            const double expected = 1.0 - (32 * block + 15.5) / 255.0;
            EXPECT_NEAR(Ink(d, 32 * block, 32 * block + 32), expected, row.tolerance) << "block " << block;
        }
        EXPECT_EQ(Ink(d, 0, 1), 1.0);       // black stays ink
        EXPECT_EQ(Ink(d, 255, 256), 0.0);   // white stays paper
    }
    // The threshold keeps only the halves: ink below 128.
    const DotPicture t = Dots(ramp, DitherMethod::Threshold);
    EXPECT_EQ(Ink(t, 0, 128), 1.0);
    EXPECT_EQ(Ink(t, 128, 256), 0.0);
}

TEST(Picture, InkGrowsWithDarknessAndTheEndsStay)
{
    const Image ramp = Grey(256, 48, [](int x, int) { return uint8_t(x); });
    for (const DitherName& m : kDitherNames) {
        SCOPED_TRACE(m.name);
        double last = -1;
        for (int darkness : {-100, -50, 0, 50, 100}) {
            const DotPicture d = Dots(ramp, m.method, darkness);
            const double ink = Ink(d, 0, 256);
            EXPECT_GT(ink, last) << "darkness " << darkness;
            last = ink;
            EXPECT_EQ(Ink(d, 0, 1), 1.0);
            EXPECT_EQ(Ink(d, 255, 256), 0.0);
        }
    }
}

TEST(Picture, TransparencyPrintsNoInk)
{
    // A logo in black on a transparent (black, alpha 0) ground, with a half-transparent
    // edge: the ground takes no dot under any method, the logo is solid.
    const Image logo = Rgba(64, 64, [](int x, int) -> std::array<uint8_t, 4> {
        if (x < 24) return {0, 0, 0, 0};
        if (x < 28) return {0, 0, 0, 128};
        return {0, 0, 0, 255};
    });
    for (const DitherName& m : kDitherNames) {
        SCOPED_TRACE(m.name);
        const DotPicture d = Dots(logo, m.method);
        EXPECT_EQ(Ink(d, 0, 24), 0.0);
        EXPECT_EQ(Ink(d, 28, 64), 1.0);
    }
    // Half-transparent black over white is the middle grey.
    const GreyPicture edge = PrepareGrey(logo.rows, {});
    EXPECT_EQ(edge.pixels[25], 127);
    // Colour to grey: pure red, green and blue, opaque.
    const Image rgb = Rgba(3, 1, [](int x, int) -> std::array<uint8_t, 4> {
        return {uint8_t(x == 0 ? 255 : 0), uint8_t(x == 1 ? 255 : 0), uint8_t(x == 2 ? 255 : 0), 255};
    });
    EXPECT_EQ(PrepareGrey(rgb.rows, {}).pixels, (std::vector<uint8_t>{77, 150, 28}));
}

TEST(Picture, FittingKeepsTheAspectAndAverages)
{
    PictureOptions head;   // 576 dots, shrink only
    EXPECT_EQ(FittedSize(1152, 800, head).width, 576);
    EXPECT_EQ(FittedSize(1152, 800, head).height, 400);
    EXPECT_EQ(FittedSize(576, 800, head).width, 576);
    EXPECT_EQ(FittedSize(200, 50, head).width, 200);   // a small logo keeps its dots
    head.width = kPaper58Dots;
    EXPECT_EQ(FittedSize(577, 3, head).width, 384);
    EXPECT_EQ(FittedSize(577, 3, head).height, 2);
    EXPECT_EQ(FittedSize(4000, 1, head).height, 1);   // never less than a row
    PictureOptions exact;
    exact.fit = Fit::Exact;
    exact.width = 400;
    EXPECT_EQ(FittedSize(200, 50, exact).width, 400);
    EXPECT_EQ(FittedSize(200, 50, exact).height, 100);

    // A checkerboard of single pixels shrunk by 2, and by 3 / 2: every dot the middle
    // grey, where dropping pixels would give black or white.
    const Image board = Grey(1152, 64, [](int x, int y) { return uint8_t((x + y) % 2 ? 255 : 0); });
    for (int width : {576, 768}) {
        PictureOptions o;
        o.width = width;
        const GreyPicture g = PrepareGrey(board.rows, o);
        ASSERT_EQ(g.width, width);
        for (int y = 1; y < g.height - 1; ++y)
            for (int x = 1; x < g.width - 1; ++x)
                ASSERT_NEAR(g.pixels[size_t(y * g.width + x)], 127.5, 43) << width << ": " << x << "," << y;
        const double mean = std::accumulate(g.pixels.begin(), g.pixels.end(), 0.0) / double(g.pixels.size());
        EXPECT_NEAR(mean, 127.5, 1.0) << width;
    }
    // Enlarging repeats pixels: each pixel of a 2 x 1 picture becomes four dots.
    const Image two = Grey(2, 1, [](int x, int) { return uint8_t(x ? 255 : 0); });
    exact.width = 4;
    EXPECT_EQ(PrepareGrey(two.rows, exact).pixels, (std::vector<uint8_t>{0, 0, 255, 255, 0, 0, 255, 255}));
}

TEST(Picture, TooTallIsRefused)
{
    const Image line = Grey(1, 1, [](int, int) { return 0; });
    PictureOptions o;
    o.fit = Fit::Exact;
    o.width = 2040;
    const Image tall = Grey(1, 33, [](int, int) { return 0; });   // 2040 x 67320
    const PictureResult refused = ConvertPicture(tall.rows, o);
    ASSERT_FALSE(refused.ok());
    EXPECT_EQ(refused.refusal()->text, "图片打印高度超过65535点，操作失败!");
    const Image fits = Grey(1, 65535, [](int, int) { return 0; });
    o.width = 1;
    EXPECT_TRUE(ConvertPicture(fits.rows, o).ok());
    EXPECT_TRUE(ConvertPicture(line.rows, o).ok());
}

TEST(PictureBands, EachCommandsBytes)
{
    struct Row {
        PictureCommand command;
        std::string hex;
    };
    for (const Row& row : {
             Row{PictureCommand::Raster, "1D 76 30 00 01 00 02 00 A0 40"},
             Row{PictureCommand::Graphics,
                 "1D 28 4C 0C 00 30 70 30 01 01 31 03 00 02 00 A0 40 1D 28 4C 02 00 30 32"},
             Row{PictureCommand::Column, "1B 33 18 1B 2A 21 03 00 80 00 00 40 00 00 80 00 00 0A 1B 32"},
         }) {
        const std::vector<PictureBand> bands = BuildPictureBands(Small(), row.command);
        ASSERT_EQ(bands.size(), 1u);
        EXPECT_EQ(Hex(bands[0].bytes), row.hex);
        EXPECT_EQ(bands[0].rows, 2);
    }
}

TEST(PictureBands, BandsJoinWithEveryRowOnce)
{
    // The band limit: whole stripes within 16368 bytes of dots, both sides of it.
    EXPECT_EQ(BandRows(576), 216);   // 216 * 72 = 15552; 240 rows would be 17280
    EXPECT_EQ(BandRows(384), 336);   // 336 * 48 = 16128; 360 rows would be 17280
    EXPECT_EQ(BandRows(2040), 48);
    EXPECT_EQ(BandRows(8), 16368);

    // Every row a different pattern, so a lost or doubled row shows.
    DotPicture d{576, 500, {}};
    for (int y = 0; y < d.height; ++y)
        for (size_t b = 0; b < d.RowBytes(); ++b) d.rows.push_back(uint8_t(y * 7 + int(b)));
    const std::vector<PictureBand> raster = BuildPictureBands(d, PictureCommand::Raster);
    ASSERT_EQ(raster.size(), 3u);
    Bytes joined;
    for (const PictureBand& band : raster) {
        const int rows = band.bytes[6] | band.bytes[7] << 8;
        EXPECT_EQ(rows, band.rows);
        EXPECT_EQ(Hex(Bytes(band.bytes.begin(), band.bytes.begin() + 6)), "1D 76 30 00 48 00");
        joined.insert(joined.end(), band.bytes.begin() + 8, band.bytes.end());
    }
    EXPECT_EQ(raster[0].rows + raster[1].rows + raster[2].rows, 500);
    EXPECT_EQ(raster[2].rows, 68);
    EXPECT_EQ(joined, d.rows);

    const std::vector<PictureBand> graphics = BuildPictureBands(d, PictureCommand::Graphics);
    ASSERT_EQ(graphics.size(), 3u);
    Bytes stored;
    for (const PictureBand& band : graphics) stored.insert(stored.end(), band.bytes.begin() + 15, band.bytes.end() - 7);
    EXPECT_EQ(stored, d.rows);

    // Column bands: 21 stripes of 24 rows, the last filled out with four rows of paper;
    // line spacing set once at the start and given back once at the end.
    const std::vector<PictureBand> column = BuildPictureBands(d, PictureCommand::Column);
    ASSERT_EQ(column.size(), 3u);
    DotPicture back{576, 504, Bytes(72 * 504, 0)};
    int stripe = 0;
    for (size_t i = 0; i < column.size(); ++i) {
        const Bytes& b = column[i].bytes;
        size_t at = i == 0 ? 3 : 0;
        EXPECT_EQ(i == 0, Hex(Bytes(b.begin(), b.begin() + 3)) == "1B 33 18");
        while (at + 5 <= b.size() && b[at] == 0x1B && b[at + 1] == 0x2A) {
            ASSERT_EQ(Hex(Bytes(b.begin() + long(at), b.begin() + long(at) + 5)), "1B 2A 21 40 02");
            at += 5;
            for (int x = 0; x < 576; ++x)
                for (int k = 0; k < 24; ++k)
                    if (b[at + size_t(3 * x + k / 8)] & (0x80 >> (k % 8)))
                        back.rows[size_t(24 * stripe + k) * 72 + size_t(x / 8)] |= uint8_t(0x80 >> (x % 8));
            at += 3 * 576;
            ASSERT_EQ(b[at++], 0x0A);
            ++stripe;
        }
        EXPECT_EQ(b.size() - at, i + 1 == column.size() ? 2u : 0u);
    }
    EXPECT_EQ(stripe, 21);
    EXPECT_EQ(Bytes(back.rows.begin(), back.rows.begin() + 72 * 500), d.rows);
    EXPECT_EQ(Bytes(back.rows.begin() + 72 * 500, back.rows.end()), Bytes(72 * 4, 0));
    EXPECT_EQ(Hex(Bytes(column.back().bytes.end() - 2, column.back().bytes.end())), "1B 32");
}

TEST(PictureBands, SerialPauseIsWhatTheHeadNeedsBeyondTheLine)
{
    const PictureBand band{Bytes(15560), 216};   // 540 ms of printing at 50 mm/s
    EXPECT_EQ(BandPauseMs(band, 115200), 0);       // 1350 ms on the line
    EXPECT_EQ(BandPauseMs(band, 1000000), 385);    // 155 ms on the line
    EXPECT_EQ(BandPauseMs(band, 0), 540);          // not a serial line: the head's time
}

TEST(PictureBands, ColumnDotsForTheBitImageCommands)
{
    // 9 dots wide and 10 high: two bytes across, 16 columns of two bytes each; rows 8
    // and 9 in the second byte's top bits; the widening is paper.
    DotPicture d{9, 10, Bytes(2 * 10, 0)};
    for (int y = 0; y < 10; ++y) d.rows[size_t(2 * y)] = 0x80;   // column 0 all ink
    d.rows[2 * 9 + 1] = 0x80;                                    // column 8, row 9
    const ColumnDots c = ToColumnDots(d);
    EXPECT_EQ(c.x, 2);
    EXPECT_EQ(c.y, 2);
    EXPECT_EQ(Hex(c.data), "FF C0 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 40 00 00 00 00 00 00 00 00 00 00 00 00 00 00");
}
