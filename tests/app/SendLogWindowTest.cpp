// The window's send log: one line per command the link was handed (none for refused
// input), the "发送记录" menu item beside About, and its window's Copy and Clear.
#include <QCheckBox>
#include <QClipboard>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <fstream>
#include <nlohmann/json.hpp>

#include "app/SendLogStore.h"
#include "app/SendLogWindow.h"
#include "res/MainWindowIds.h"
#include "tests/app/AppFixture.h"
#include "ui/IpAddressCtrl.h"

namespace tallyx::test {
namespace {

class SendLogWiring : public AppTest {
protected:
    SendLogWiring() { store.Attach(dlg->GetLink()); }

    std::vector<nlohmann::json> Lines() const
    {
        std::vector<nlohmann::json> out;
        for (const std::string& line : store.Lines()) out.push_back(nlohmann::json::parse(line));
        return out;
    }
    SendLogStore store;
};

TEST_F(SendLogWiring, ASendIsOneLineWithItsBytes)
{
    ConnectOn("COM1");
    Press(id::main::kInit);
    const auto lines = Lines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0]["link"], "serial");
    EXPECT_EQ(lines[0]["target"], "COM1");
    EXPECT_EQ(lines[0]["bytes"], "1B 40 0A");
    EXPECT_EQ(lines[0]["length"], 3);
    EXPECT_EQ(lines[0]["outcome"], "sent");
}

TEST_F(SendLogWiring, RefusedInputWritesNoLine)
{
    ConnectOn("COM1");
    HexBox()->setChecked(true);
    PrintBox()->setPlainText("4G");
    Press(id::main::kSendText);
    EXPECT_EQ(Shown(), (std::vector<std::string>{"错误|十六进制字符输入有错误!"}));
    EXPECT_TRUE(store.Lines().empty());
}

TEST_F(SendLogWiring, ALinkFailureIsOneLineWithTheFault)
{
    platform.reply = Bytes(22, 0x01);
    SelectItem(id::main::kPort, "Ethernet");
    AddressAt(id::main::kPrinterAddress)->SetAddress(0x7F000001);
    Press(id::main::kConnect);
    EXPECT_TRUE(store.Lines().empty()) << "the connect's query is not a command";
    platform.refuse = true;
    Press(id::main::kBold);
    const auto lines = Lines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0]["link"], "network");
    EXPECT_EQ(lines[0]["target"], "127.0.0.1:9100");
    EXPECT_EQ(lines[0]["bytes"], "1B 45 01");
    EXPECT_EQ(lines[0]["outcome"], "NotReached");
}

TEST_F(SendLogWiring, TheMenuHasTheSendLogAboveAbout)
{
    std::unique_ptr<QMenu> menu(dlg->CreateSystemMenu(nullptr));
    QStringList texts;
    for (QAction* a : menu->actions()) texts << a->text();
    EXPECT_EQ(texts, (QStringList{QString::fromUtf8("发送记录(&L)..."), QString::fromUtf8("打印机状态(&S)..."), "", QString::fromUtf8("关于 Kestrano(&A)...")}));
    menu->actions().front()->trigger();
    auto* window = dlg->findChild<SendLogWindow*>();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->windowTitle(), QString::fromUtf8("发送记录"));
    menu->actions().front()->trigger();
    EXPECT_EQ(dlg->findChildren<SendLogWindow*>().size(), 1) << "one window, brought to the front";
}

TEST_F(SendLogWiring, TheWindowListsNewestLastCopiesAndClears)
{
    ConnectOn("COM1");
    Press(id::main::kInit);
    Press(id::main::kBold);
    SendLogWindow window(store);
    const QStringList shown = window.Text()->toPlainText().split('\n');
    ASSERT_EQ(shown.size(), 2);
    EXPECT_TRUE(shown[0].contains(R"("bytes":"1B 40 0A")")) << shown[0].toStdString();
    EXPECT_TRUE(shown[1].contains(R"("bytes":"1B 45 01")")) << shown[1].toStdString();
    EXPECT_TRUE(window.Text()->isReadOnly());

    Press(id::main::kRotate);
    window.Refresh();
    EXPECT_EQ(window.Text()->toPlainText().split('\n').size(), 3);

    window.CopyButton()->click();
    const QString copied = QGuiApplication::clipboard()->text();
    EXPECT_EQ(copied.count('\n'), 3);
    EXPECT_TRUE(copied.endsWith(R"("outcome":"sent"})" "\n")) << copied.toStdString();

    window.ClearButton()->click();
    EXPECT_TRUE(store.Lines().empty());
    EXPECT_EQ(window.Text()->toPlainText(), "");
    Press(id::main::kInit);
    window.Refresh();
    EXPECT_EQ(window.Text()->toPlainText().split('\n').size(), 1);
}

TEST(SendLogStoreBound, KeepsTheNewestLines)
{
    SendLogStore store;
    SendRecord record;
    for (size_t i = 0; i < SendLogStore::kMaxLines + 2; ++i) {
        record.bytes = {uint8_t(i & 0xFF)};
        store.Record(record);
    }
    const auto lines = store.Lines();
    ASSERT_EQ(lines.size(), 10000u);
    EXPECT_TRUE(lines.front().find(R"("bytes":"02")") != std::string::npos) << lines.front();
    EXPECT_TRUE(lines.back().find(R"("bytes":"11")") != std::string::npos) << lines.back();   // 10001 = 0x2711
}

TEST(SendLogStoreFile, AppendsTheSameLinesAndKeepsThemThroughAClear)
{
    QTemporaryDir dir;
    const std::string path = dir.filePath("sent.jsonl").toStdString();
    {
        std::ofstream earlier(path);
        earlier << "earlier\n";
    }
    SendLogStore store;
    ASSERT_TRUE(store.OpenFile(path));
    SendRecord record;
    record.kind = LinkKind::Serial;
    record.target = "COM1";
    record.bytes = {0x1B, 0x40, 0x0A};
    store.Record(record);
    store.Clear();
    record.bytes = {0x0A};
    store.Record(record);
    std::ifstream in(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], "earlier");
    EXPECT_NE(lines[1].find(R"("link":"serial","target":"COM1","bytes":"1B 40 0A","length":3,"outcome":"sent"})"),
              std::string::npos) << lines[1];
    EXPECT_NE(lines[2].find(R"("bytes":"0A","length":1,"outcome":"sent"})"), std::string::npos) << lines[2];
    EXPECT_EQ(store.Lines().size(), 1u);
    EXPECT_FALSE(SendLogStore().OpenFile(dir.filePath("no/such/dir/x").toStdString()));
}

} // namespace
} // namespace tallyx::test
