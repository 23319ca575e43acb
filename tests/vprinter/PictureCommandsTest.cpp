// The picture conversion's three commands on the virtual printer: GS v 0, ESC * and
// GS ( L, banded or not, lay down the same dots.
#include <gtest/gtest.h>

#include "commands/Picture.h"
#include "tests/vprinter/PrinterProbe.h"

using namespace tallyx;
using namespace tallyx::vprinter;
using namespace tallyx::vprinter::test;

namespace {

// Every receipt's blocks stacked into one sheet of dots, one byte a dot.
std::vector<std::vector<uint8_t>> Sheet(const std::vector<Receipt>& receipts, int width)
{
    std::vector<std::vector<uint8_t>> rows;
    for (const Receipt& r : receipts)
        for (const Block& b : r.blocks) {
            if (const auto* feed = std::get_if<Feed>(&b)) rows.resize(rows.size() + size_t(feed->dots), std::vector<uint8_t>(size_t(width)));
            const auto* pic = std::get_if<Picture>(&b);
            if (!pic) continue;
            for (int y = 0; y < pic->height; ++y) {
                std::vector<uint8_t> row(static_cast<size_t>(width));
                for (int x = 0; x < pic->width; ++x) row[size_t(pic->x + x)] = pic->Dot(x, y);
                rows.push_back(std::move(row));
            }
        }
    return rows;
}

std::vector<std::vector<uint8_t>> Printed(const DotPicture& dots, PictureCommand command)
{
    TmT88Probe printer;
    for (const PictureBand& band : BuildPictureBands(dots, command))
        printer.FeedBytes(std::string_view(reinterpret_cast<const char*>(band.bytes.data()), band.bytes.size()));
    return Sheet(printer.AllReceipts(), kPaper80Dots);
}

} // namespace

TEST(PictureCommands, ColumnAndGraphicsDrawTheRasterDots)
{
    struct Size {
        int width, height;
    };
    // One band; three bands ending mid-stripe; a narrow picture in one band.
    for (const Size size : {Size{576, 48}, Size{576, 500}, Size{100, 37}}) {
        SCOPED_TRACE(std::to_string(size.width) + " x " + std::to_string(size.height));
        DotPicture dots{size.width, size.height, {}};
        uint32_t seed = 12345;
        for (size_t i = 0; i < dots.RowBytes() * size_t(size.height); ++i) {
            seed = seed * 1103515245 + 12345;
            dots.rows.push_back(uint8_t(seed >> 16));
        }
        for (int y = 0; y < size.height; ++y)   // the widening to whole bytes is paper
            if (size.width % 8) dots.rows[size_t(y) * dots.RowBytes() + dots.RowBytes() - 1] &= uint8_t(0xFF << (8 - size.width % 8));
        const auto raster = Printed(dots, PictureCommand::Raster);
        ASSERT_EQ(raster.size(), size_t(size.height));
        for (int y = 0; y < size.height; ++y)
            for (int x = 0; x < size.width; ++x) ASSERT_EQ(raster[size_t(y)][size_t(x)] != 0, dots.Dot(x, y)) << x << "," << y;
        EXPECT_EQ(Printed(dots, PictureCommand::Graphics), raster);
        // Column bands end on a whole stripe: the rows below the picture are paper.
        auto column = Printed(dots, PictureCommand::Column);
        ASSERT_EQ(column.size(), size_t((size.height + 23) / 24 * 24));
        for (size_t y = size_t(size.height); y < column.size(); ++y) EXPECT_EQ(column[y], std::vector<uint8_t>(kPaper80Dots)) << y;
        column.resize(size_t(size.height));
        EXPECT_EQ(column, raster);
    }
}
