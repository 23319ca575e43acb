// Receipt jobs: pages to bands without their blank rows, the method picked by the page, and
// the finishing's bytes (the dithering itself is the picture pipeline's, tested there).
#include <gtest/gtest.h>

#include <vector>

#include "commands/ReceiptJob.h"
#include "tests/support/Hex.h"

namespace tallyx {
namespace {

using test::Hex;

struct Page {
    int width, height;
    std::vector<uint8_t> pixels;
    explicit Page(int w, int h, uint8_t fill = 0xFF) : width(w), height(h), pixels(size_t(w) * size_t(h), fill) {}
    void Set(int x, int y, uint8_t v) { pixels[size_t(y) * size_t(width) + size_t(x)] = v; }
    GreyPage View() const { return {width, height, pixels}; }
};

ReceiptOptions NoFinishing()
{
    ReceiptOptions o;
    o.cut = CutWhen::None;
    o.dither = DitherMethod::Threshold;
    return o;
}

TEST(ReceiptPage, OneLineOfInkIsOneRowOfDotsAndTheBlankRowsBelowAreNeverFed)
{
    Page page(16, 40);
    page.Set(0, 0, 0x00);
    page.Set(9, 0, 0x7F);    // just below the threshold: ink
    page.Set(10, 0, 0x80);   // at it: paper
    EXPECT_EQ(Hex(BuildPage(page.View(), NoFinishing())), "1D 76 30 00 02 00 01 00 80 40");
}

TEST(ReceiptPage, ABlankPageSendsNoBand)
{
    EXPECT_EQ(Hex(BuildPage(Page(16, 40).View(), NoFinishing())), "");
    EXPECT_EQ(Hex(BuildPage(Page(0, 0).View(), NoFinishing())), "");
}

TEST(ReceiptPage, BlankRowsAboveTheInkStayUnlessTrimmed)
{
    Page page(8, 5);
    page.Set(7, 2, 0x00);
    EXPECT_EQ(Hex(BuildPage(page.View(), NoFinishing())), "1D 76 30 00 01 00 03 00 00 00 01");
    ReceiptOptions trimmed = NoFinishing();
    trimmed.trimTop = true;
    EXPECT_EQ(Hex(BuildPage(page.View(), trimmed)), "1D 76 30 00 01 00 01 00 01");
}

TEST(ReceiptPage, TallPagesGoOutInThePipelinesBandsAndTheLastOneEndsAtTheInk)
{
    Page page(576, 300);
    for (int x = 0; x < 576; ++x) page.Set(x, 216, 0x00);   // the first row of the second band
    const Bytes out = BuildPage(page.View(), NoFinishing());
    ASSERT_EQ(out.size(), size_t(8 + 216 * 72 + 8 + 72));
    EXPECT_EQ(Hex(Bytes(out.begin(), out.begin() + 8)), "1D 76 30 00 48 00 D8 00");
    const size_t second = 8 + 216 * 72;
    EXPECT_EQ(Hex(Bytes(out.begin() + second, out.begin() + second + 9)), "1D 76 30 00 48 00 01 00 FF");
}

TEST(ReceiptPage, WidthsThatAreNotWholeBytesArePaddedWithPaper)
{
    Page page(10, 1, 0x00);
    EXPECT_EQ(Hex(BuildPage(page.View(), NoFinishing())), "1D 76 30 00 02 00 01 00 FF C0");
}

TEST(ReceiptPage, AutoPicksFloydSteinbergForPicturesAndThresholdForText)
{
    Page photo(10, 10, 0x80);
    EXPECT_EQ(PickDither(photo.View()), DitherMethod::FloydSteinberg);
    Page text(10, 10);
    for (int x = 0; x < 10; ++x) {
        text.Set(x, 4, 0x00);
        text.Set(x, 5, 0x00);
        text.Set(x, 6, 0x90);   // an anti-aliased edge
    }
    EXPECT_EQ(PickDither(text.View()), DitherMethod::Threshold);
}

TEST(ReceiptFinishing, EachSettingPutsItsBytesWhereItSays)
{
    struct Row {
        const char* name;
        ReceiptOptions o;
        const char *start, *page, *end;
    };
    auto with = [](auto change) {
        ReceiptOptions o;
        o.cut = CutWhen::None;
        change(o);
        return o;
    };
    const Row rows[] = {
        {"nothing", with([](ReceiptOptions&) {}), "1B 40", "", ""},
        {"partial cut after the job", with([](ReceiptOptions& o) { o.cut = CutWhen::AfterJob; }), "1B 40", "",
         "1D 56 42 48"},
        {"full cut after each page",
         with([](ReceiptOptions& o) {
             o.cut = CutWhen::AfterPage;
             o.cutKind = CutKind::Full;
         }),
         "1B 40", "1D 56 41 48", ""},
        {"drawer 1 before",
         with([](ReceiptOptions& o) {
             o.drawerWhen = DrawerWhen::BeforeJob;
             o.drawer = 1;
         }),
         "1B 40 1B 70 00 30 30", "", ""},
        {"drawer 2 after",
         with([](ReceiptOptions& o) {
             o.drawerWhen = DrawerWhen::AfterJob;
             o.drawer = 2;
         }),
         "1B 40", "", "1B 70 01 30 30"},
        // The logo centred, as the NV logo dialog prints it.
        {"logo 3 at the top",
         with([](ReceiptOptions& o) {
             o.logo = LogoWhere::Top;
             o.logoSlot = 3;
         }),
         "1B 40 1B 61 01 1C 70 03 30 1B 61 00", "", ""},
        {"logo 5 at the bottom, then the cut, then the drawer",
         with([](ReceiptOptions& o) {
             o.logo = LogoWhere::Bottom;
             o.logoSlot = 5;
             o.cut = CutWhen::AfterJob;
             o.drawerWhen = DrawerWhen::AfterJob;
         }),
         "1B 40", "", "1B 61 01 1C 70 05 30 1B 61 00 1D 56 42 48 1B 70 00 30 30"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(Hex(BuildJobStart(row.o)), row.start);
        EXPECT_EQ(Hex(BuildPage(Page(8, 4).View(), row.o)), row.page);
        EXPECT_EQ(Hex(BuildJobEnd(row.o)), row.end);
    }
}

} // namespace
} // namespace tallyx
