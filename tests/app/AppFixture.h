#pragma once
// A main window on a recording platform, with message boxes recorded instead of shown.
#include <QString>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

#include "app/CPosToolDlg.h"
#include "tests/support/RecordingPlatform.h"
#include "tests/support/RecordingBoxes.h"

class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QCheckBox;

namespace tallyx::test {

class AppTest : public ::testing::Test {
protected:
    AppTest();
    ~AppTest() override;

    QWidget* Ctl(int id) const;
    QComboBox* ComboAt(int id) const;
    IpAddressCtrl* AddressAt(int id) const;
    QLineEdit* SendCount() const;
    QPlainTextEdit* PrintBox() const;
    QCheckBox* HexBox() const;

    // A pick from the list, as the operator makes it.
    void SelectItem(int comboId, const QString& item);
    // Picks the port and presses connect.
    void ConnectOn(const QString& port);
    // Clicked, and what the sender hands back taken in, as the window's loop would.
    void Press(int id);
    void Settle();
    // Boxes shown so far as "caption|text".
    std::vector<std::string> Shown() const;
    // A window on `real`, connected over the network to a printer that then goes away:
    // every connection is refused from then on, each send retried for retryLimitMs.
    void ConnectToAPrinterThatGoes(Platform& real, int retryLimitMs);
    // Shows the window and waits (bounded) until it has the keyboard.
    void ShowActive();

    RecordingBoxes boxes;
    RecordingPlatform platform;
    std::unique_ptr<CPosToolDlg> dlg;
};

// Runs `check` on the modal window that `open` brings up, then closes it with Esc's reject.
void WithModal(const std::function<void()>& open, const std::function<void(QWidget*)>& check);

} // namespace tallyx::test
