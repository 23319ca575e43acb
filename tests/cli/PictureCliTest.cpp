// tallyx-cli bitmap and logo: the NV logo dialog's bytes, its check order and messages.
#include <gtest/gtest.h>

#include "tests/cli/CliRun.h"
#include "tests/support/RecordingPlatform.h"
#include "tests/support/BmpWriter.h"

using namespace tallyx;
using namespace tallyx::test;

namespace {

const std::string kEightFF = "FF FF FF FF FF FF FF FF";

} // namespace

TEST(PictureCli, DryRunsGiveTheDialogsBytes)
{
    const std::string black = WriteBmp(AllBlack(8, 8), "cli_black8.bmp");
    ExpectCliRows({
        {{"--dry-run", "bitmap", black}, 0, "1D 2A 01 01 " + kEightFF + " 1D 2F 00 0A 0A\n", ""},
        {{"--dry-run", "logo", "download", "--slot", "2", black}, 0, "1C 72 02 01 00 01 00 " + kEightFF + " 1B 40\n", ""},
        {{"--dry-run", "logo", "print", "--slot", "1"}, 0, "1B 61 01 1C 70 01 30 1B 61 00\n", ""},
        {{"--dry-run", "logo", "print", "--slot", "1", "--mode", "正常"}, 0, "1B 61 01 1C 70 01 30 1B 61 00\n", ""},
        {{"--dry-run", "logo", "print", "--slot", "5", "--mode", "倍宽倍高"}, 0, "1B 61 01 1C 70 05 33 1B 61 00\n", ""},
        {{"--dry-run", "logo", "print", "--slot", "3", "--mode", "倍宽"}, 0, "1B 61 01 1C 70 03 31 1B 61 00\n", ""},
        {{"--dry-run", "logo", "print", "--slot", "4", "--mode", "倍高"}, 0, "1B 61 01 1C 70 04 32 1B 61 00\n", ""},
        {{"--dry-run", "logo", "clear", "--slot", "3"}, 0, "1C 72 03 01 00 01 00 00 00 00 00 00 00 00 00 01\n", ""},
        {{"logo", "clear", "--slot", "5", "--dry-run"}, 0, "1C 72 05 01 00 01 00 00 00 00 00 00 00 00 00 01\n", ""},
    });
}

TEST(PictureCli, RefusedFilesAndUsage)
{
    BmpDef compressed = AllBlack(8, 8);
    compressed.compression = 1;
    const std::string rle = WriteBmp(compressed, "cli_rle.bmp");
    const std::string big = WriteBmp(AllBlack(384, 337), "cli_384x337.bmp");
    const std::string missing = ::testing::TempDir() + "tallyx_cli_missing.bmp";
    const std::string black = WriteBmp(AllBlack(8, 8), "cli_black8.bmp");
    ExpectCliRows({
        {{"--dry-run", "bitmap", rle}, 2, "", "位图文件格式有误0x05!\n"},
        {{"--dry-run", "logo", "download", "--slot", "1", big}, 2, "", "位图数据太大了，操作失败!\n"},
        {{"--dry-run", "bitmap", missing}, 2, "", "位图文件打开失败!\n"},
        // A refused file is reported before any port is opened.
        {{"--port", "COM1", "logo", "download", "--slot", "1", rle}, 2, "", "位图文件格式有误0x05!\n"},
        {{"--dry-run", "logo", "print", "--slot", "0"}, 64, "", ""},
        {{"--dry-run", "logo", "print", "--slot", "6"}, 64, "", ""},
        {{"--dry-run", "logo", "print", "--slot", "1", "--mode", "2"}, 64, "", ""},
        {{"--dry-run", "logo", "print"}, 64, "", ""},
        {{"--dry-run", "logo", "download", "--slot", "1"}, 64, "", ""},
        {{"--dry-run", "logo", "download", "--slot", "9", black}, 64, "", ""},
        {{"--dry-run", "logo"}, 64, "", ""},
        {{"--dry-run", "bitmap"}, 64, "", ""},
    });
}

TEST(PictureCli, SendsOnTheLinkAndSaysWhatTheDialogSays)
{
    const std::string big = WriteBmp(AllBlack(384, 336), "cli_384x336.bmp");
    RecordingPlatform platform;
    const CliRun download = RunCliWith(platform, {"--port", "COM1", "logo", "download", "--slot", "1", big});
    EXPECT_EQ(download.status, 0);
    EXPECT_EQ(download.out, "DownLoad LOGO Success!\n");
    const std::vector<std::string> writes = platform.Writes();
    ASSERT_EQ(writes.size(), 1u);
    EXPECT_EQ((writes[0].size() + 1) / 3, 16137u);
    EXPECT_EQ(writes[0].substr(0, 20), "1C 72 01 30 00 2A 00");

    platform.calls.clear();
    const CliRun clear = RunCliWith(platform, {"--port", "COM1", "logo", "clear", "--slot", "2"});
    EXPECT_EQ(clear.status, 0);
    EXPECT_EQ(clear.out, "Clear LOGO Success!\n");
    EXPECT_EQ(platform.Writes(), std::vector<std::string>{"1C 72 02 01 00 01 00 00 00 00 00 00 00 00 00 01"});

    platform.calls.clear();
    const CliRun print = RunCliWith(platform, {"--port", "COM1", "logo", "print", "--slot", "2", "--mode", "倍高"});
    EXPECT_EQ(print.status, 0);
    EXPECT_EQ(print.out, "");
    EXPECT_EQ(platform.Writes(), std::vector<std::string>{"1B 61 01 1C 70 02 32 1B 61 00"});

    // A port that does not open: no success message.
    platform.calls.clear();
    platform.serialOpens["COM9"] = false;
    const CliRun failed = RunCliWith(platform, {"--port", "COM9", "logo", "clear", "--slot", "2"});
    EXPECT_EQ(failed.status, 3);
    EXPECT_EQ(failed.out, "");
    EXPECT_TRUE(platform.Writes().empty());
}
