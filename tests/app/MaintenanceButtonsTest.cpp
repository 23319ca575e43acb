// The code page, voice and cutter buttons open their dialogs, owned by the main window.
#include <QApplication>
#include <QDialog>
#include <QPushButton>
#include <QTimer>
#include <functional>

#include "tests/app/AppFixture.h"

namespace tallyx::test {
namespace {

using MaintenanceButtons = AppTest;

TEST_F(MaintenanceButtons, EachOpensItsDialog)
{
    ConnectOn("COM1");
    ShowActive();
    const struct {
        int button;
        const char* title;
    } rows[] = {{1068, "Set CodePage"}, {1071, "语音芯片测试"}, {1078, "Cutter Check"}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.title);
        WithModal([&] { Press(row.button); },
                  [&](QWidget* opened) {
                      EXPECT_EQ(opened->windowTitle(), QString::fromUtf8(row.title));
                      EXPECT_EQ(opened->parentWidget(), dlg.get());
                  });
        EXPECT_TRUE(dlg->isVisible());
    }
    EXPECT_FALSE(dlg->GetCutterRun().Running());
    EXPECT_TRUE(Shown().empty());
}

} // namespace
} // namespace tallyx::test
