// The four NV logo commands: headers, trailers, slot and mode bytes.
#include <gtest/gtest.h>

#include "commands/NvLogo.h"
#include "tests/support/BmpWriter.h"
#include "tests/support/Hex.h"

using namespace tallyx;
using namespace tallyx::test;

namespace {
const std::string kEightFF = "FF FF FF FF FF FF FF FF";
}

TEST(NvLogoCommands, TestPictureIsDefinedThenPrinted)
{
    const Result r = BuildTestPictureCommand(WriteBmp(AllBlack(8, 8), "black8.bmp"));
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(Hex(r.bytes()), "1D 2A 01 01 " + kEightFF + " 1D 2F 00 0A 0A");
}

TEST(NvLogoCommands, DownloadStoresInTheChosenSlot)
{
    const std::string path = WriteBmp(AllBlack(8, 8), "black8.bmp");
    const std::pair<int, std::string> rows[] = {{0, "01"}, {1, "02"}, {4, "05"}};
    for (const auto& [index, slot] : rows) {
        SCOPED_TRACE(index);
        const Result r = BuildDownloadLogoCommand(path, index);
        ASSERT_TRUE(r.ok());
        EXPECT_EQ(Hex(r.bytes()), "1C 72 " + slot + " 01 00 01 00 " + kEightFF + " 1B 40");
    }
}

TEST(NvLogoCommands, LargestPictureGoesOutWhole)
{
    const std::string path = WriteBmp(AllBlack(384, 336), "384x336.bmp");
    const Result test = BuildTestPictureCommand(path);
    ASSERT_TRUE(test.ok());
    ASSERT_EQ(test.bytes().size(), 4u + 16128 + 5);
    EXPECT_EQ(Hex(Bytes(test.bytes().begin(), test.bytes().begin() + 5)), "1D 2A 30 2A FF");
    EXPECT_EQ(Hex(Bytes(test.bytes().end() - 6, test.bytes().end())), "FF 1D 2F 00 0A 0A");

    const Result logo = BuildDownloadLogoCommand(path, 2);
    ASSERT_TRUE(logo.ok());
    ASSERT_EQ(logo.bytes().size(), 16137u);
    EXPECT_EQ(Hex(Bytes(logo.bytes().begin(), logo.bytes().begin() + 8)), "1C 72 03 30 00 2A 00 FF");
    EXPECT_EQ(Hex(Bytes(logo.bytes().end() - 3, logo.bytes().end())), "FF 1B 40");
}

TEST(NvLogoCommands, ImageCommandsNeedAChosenFile)
{
    for (const Result& r : {BuildTestPictureCommand(""), BuildDownloadLogoCommand("", 0)}) {
        ASSERT_FALSE(r.ok());
        EXPECT_EQ(r.refusal()->caption, "NV LOGO");
        EXPECT_EQ(r.refusal()->text, "Please Open BMP first!");
    }
}

TEST(NvLogoCommands, RefusedFileRefusesTheCommand)
{
    BmpDef s = AllBlack(8, 8);
    s.type = 0x4241;
    const std::string path = WriteBmp(s, "notbm.bmp");
    for (const Result& r : {BuildTestPictureCommand(path), BuildDownloadLogoCommand(path, 0)}) {
        ASSERT_FALSE(r.ok());
        EXPECT_EQ(r.refusal()->caption, "tallyx");
        EXPECT_EQ(r.refusal()->text, "位图文件格式有误0x01!");
    }
    const std::string big = WriteBmp(AllBlack(384, 337), "384x337.bmp");
    for (const Result& r : {BuildTestPictureCommand(big), BuildDownloadLogoCommand(big, 0)}) {
        ASSERT_FALSE(r.ok());
        EXPECT_EQ(r.refusal()->text, "位图数据太大了，操作失败!");
    }
}

TEST(NvLogoCommands, PrintCentresTheLogoInItsMode)
{
    struct Row {
        int slot, mode;
        const char* expected;
    };
    const Row rows[] = {
        {0, 0, "1B 61 01 1C 70 01 30 1B 61 00"},
        {4, 3, "1B 61 01 1C 70 05 33 1B 61 00"},
        {1, 1, "1B 61 01 1C 70 02 31 1B 61 00"},
        {2, 2, "1B 61 01 1C 70 03 32 1B 61 00"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.expected);
        EXPECT_EQ(Hex(BuildPrintLogoCommand(row.slot, row.mode)), row.expected);
    }
}

TEST(NvLogoCommands, ClearStoresTheSmallestLogo)
{
    EXPECT_EQ(Hex(BuildClearLogoCommand(2)), "1C 72 03 01 00 01 00 00 00 00 00 00 00 00 00 01");
    EXPECT_EQ(Hex(BuildClearLogoCommand(0)), "1C 72 01 01 00 01 00 00 00 00 00 00 00 00 00 01");
    EXPECT_EQ(Hex(BuildClearLogoCommand(4)), "1C 72 05 01 00 01 00 00 00 00 00 00 00 00 00 01");
}
