// The NV logo dialog's wiring: the chosen file and the combo selections reach the
// commands, the commands reach the main window's link, the messages reach the boxes.
#include <QComboBox>
#include <tuple>

#include "dialogs/CNvLogoDlg.h"
#include "res/NvLogoIds.h"
#include "tests/dialogs/DialogLinkFixture.h"
#include "tests/support/BmpWriter.h"
#include "ui/BitmapPreview.h"
#include "tests/support/LinkAccess.h"

using namespace tallyx;
using namespace tallyx::test;

namespace {

const std::string kEightFF = "FF FF FF FF FF FF FF FF";

class NvLogoDlgTest : public DialogLinkTest {
protected:
    void Press(int id) { DialogLinkTest::Press(dialog.Control(id)); }
    void Choose(const std::string& path)
    {
        dialog.m_chooseFile = [path](QWidget*) { return QString::fromStdString(path); };
        Press(id::nvlogo::kOpenBmp);
    }
    void Select(int comboId, const QString& item)
    {
        auto* combo = qobject_cast<QComboBox*>(dialog.Control(comboId));
        combo->setCurrentIndex(combo->findText(item));
    }

    CNvLogoDlg dialog{sender, nullptr};
};

} // namespace

TEST_F(NvLogoDlgTest, TestPictureSendsTheFileAsABitImage)
{
    Choose(WriteBmp(AllBlack(8, 8), "dlg_black8.bmp"));
    Press(id::nvlogo::kTestPicture);
    EXPECT_EQ(Writes(), Strings{"1D 2A 01 01 " + kEightFF + " 1D 2F 00 0A 0A"});
    EXPECT_TRUE(boxes.shown.empty());
    // Serial: the port is reopened twice after the write.
    EXPECT_EQ(platform.calls.back(), "configure 9600");
    EXPECT_EQ(std::count(platform.calls.begin(), platform.calls.end(), "open COM1"), 2);
}

TEST_F(NvLogoDlgTest, DownloadGoesToTheChosenSlotThenSaysSo)
{
    Choose(WriteBmp(AllBlack(8, 8), "dlg_black8.bmp"));
    Select(id::nvlogo::kSlot, "2");
    Press(id::nvlogo::kDownload);
    EXPECT_EQ(Writes(), Strings{"1C 72 02 01 00 01 00 " + kEightFF + " 1B 40"});
    EXPECT_EQ(Shown(), Strings{"NV LOGO|DownLoad LOGO Success!"});
    EXPECT_EQ(boxes.shown[0].owner, &dialog);
}

TEST_F(NvLogoDlgTest, PrintUsesSlotAndModeWithoutAFile)
{
    const std::tuple<const char*, const char*, const char*> rows[] = {
        {"1", "正常", "1B 61 01 1C 70 01 30 1B 61 00"},
        {"5", "倍宽倍高", "1B 61 01 1C 70 05 33 1B 61 00"},
        {"3", "倍宽", "1B 61 01 1C 70 03 31 1B 61 00"},
        {"4", "倍高", "1B 61 01 1C 70 04 32 1B 61 00"},
    };
    for (const auto& [slot, mode, expected] : rows) {
        SCOPED_TRACE(expected);
        platform.calls.clear();
        Select(id::nvlogo::kSlot, QString::fromUtf8(slot));
        Select(id::nvlogo::kMode, QString::fromUtf8(mode));
        Press(id::nvlogo::kPrint);
        EXPECT_EQ(Writes(), Strings{expected});
    }
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(NvLogoDlgTest, ClearStoresTheSmallestLogoThenSaysSo)
{
    Select(id::nvlogo::kSlot, "3");
    Press(id::nvlogo::kClear);
    EXPECT_EQ(Writes(), Strings{"1C 72 03 01 00 01 00 00 00 00 00 00 00 00 00 01"});
    EXPECT_EQ(Shown(), Strings{"NV LOGO|Clear LOGO Success!"});
}

// No file chosen, then a refused file: each reported before the broken port, which is
// not looked at and still to be reported.
TEST_F(NvLogoDlgTest, FileFaultsAreReportedBeforeTheBrokenPort)
{
    BmpDef reserved = AllBlack(8, 8);
    reserved.reserved1 = 1;
    const struct {
        std::string file;
        const char* shown;
    } rows[] = {
        {"", "NV LOGO|Please Open BMP first!"},
        {WriteBmp(reserved, "dlg_reserved.bmp"), "tallyx|位图文件格式有误0x02!"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.shown);
        if (!row.file.empty()) Choose(row.file);
        BreakPort();
        for (int button : {1004, 1005}) {
            SCOPED_TRACE(button);
            Reset();
            Press(button);
            EXPECT_EQ(Shown(), Strings{row.shown});
            EXPECT_TRUE(LinkTestAccess::Port(link).IsFailed());
            EXPECT_TRUE(host.messages.empty());
            EXPECT_TRUE(platform.calls.empty());
        }
    }
}

TEST_F(NvLogoDlgTest, BrokenPortStopsEveryCommandWithoutSuccess)
{
    Choose(WriteBmp(AllBlack(8, 8), "dlg_black8.bmp"));
    for (int button : {1004, 1005, 1007, 1008}) {
        SCOPED_TRACE(button);
        ExpectPortBusyOnPress(dialog.Control(button));
    }
}

TEST_F(NvLogoDlgTest, CancelledSecondChoiceKeepsTheFirstFile)
{
    const std::string first = WriteBmp(AllBlack(16, 8), "dlg_first.bmp");
    Choose(first);
    const QImage preview = dialog.Preview()->Picture();
    ASSERT_EQ(preview.size(), QSize(16, 8));
    Choose("");   // the file dialog cancelled
    EXPECT_EQ(dialog.m_strBmpPath, QString::fromStdString(first));
    EXPECT_EQ(dialog.Preview()->Picture(), preview);
    Press(id::nvlogo::kTestPicture);
    EXPECT_EQ(Writes(), Strings{"1D 2A 02 01 " + kEightFF + " " + kEightFF + " 1D 2F 00 0A 0A"});
}

TEST_F(NvLogoDlgTest, UnreadableFileIsStillChosen)
{
    const std::string text = WriteFile({'h', 'e', 'l', 'l', 'o'}, "dlg_text.bmp");
    Choose(text);
    EXPECT_EQ(dialog.m_strBmpPath, QString::fromStdString(text));
    EXPECT_TRUE(dialog.Preview()->Picture().isNull());
    Press(id::nvlogo::kTestPicture);
    EXPECT_EQ(Shown(), Strings{"tallyx|位图文件不完整!"});
}

TEST_F(NvLogoDlgTest, LargestLogoIsOneWrite)
{
    Choose(WriteBmp(AllBlack(384, 336), "dlg_384x336.bmp"));
    Press(id::nvlogo::kDownload);
    const Strings writes = Writes();
    ASSERT_EQ(writes.size(), 1u);
    EXPECT_EQ((writes[0].size() + 1) / 3, 16137u);
    EXPECT_EQ(writes[0].substr(0, 20), "1C 72 01 30 00 2A 00");
    EXPECT_EQ(writes[0].substr(writes[0].size() - 5), "1B 40");
}

TEST_F(NvLogoDlgTest, OverTheNetworkEachCommandIsOneConnection)
{
    host.port = "Ethernet";
    link.ReopenPort();
    Choose(WriteBmp(AllBlack(384, 336), "dlg_384x336.bmp"));
    Press(id::nvlogo::kDownload);
    ASSERT_EQ(platform.sockets.size(), 1u);
    EXPECT_EQ(platform.sockets[0].size(), 16137u);
    EXPECT_EQ(LinkTestAccess::NetLen(link), 16137);
    EXPECT_EQ(Shown(), Strings{"NV LOGO|DownLoad LOGO Success!"});
    Press(id::nvlogo::kPrint);
    ASSERT_EQ(platform.sockets.size(), 2u);
    EXPECT_EQ(Hex(platform.sockets[1]), "1B 61 01 1C 70 01 30 1B 61 00");
}
