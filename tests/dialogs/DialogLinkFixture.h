#pragma once
// What every dialog test stands on: a link on the recording platform with COM1 open, as
// after a connect, message boxes recorded, and the writes and boxes read back.
#include <QPushButton>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "link/Sender.h"
#include "ui/MessageBoxes.h"
#include "tests/support/RecordingBoxes.h"
#include "tests/support/RecordingPlatform.h"
#include "tests/support/LinkAccess.h"

namespace tallyx::test {

inline const std::string kPortBusyShown = "tallyx|此端口被占用或已损坏|0";

class DialogLinkTest : public ::testing::Test {
protected:
    DialogLinkTest()
    {
        InstallBoxes(&boxes);
        link.ReopenPort();
        sender.SetWindowTell(host.AsTell());
        platform.calls.clear();
    }
    ~DialogLinkTest() override { InstallBoxes(nullptr); }

    // Clicked, and what the sender hands back taken in, as the window's loop would.
    void Press(QWidget* button)
    {
        qobject_cast<QPushButton*>(button)->click();
        Settle();
    }
    void Settle()
    {
        for (int round = 0; round < 4; ++round) {
            EXPECT_TRUE(sender.WaitIdle(10'000));
            sender.Pump();
        }
    }
    Strings Writes() const
    {
        Strings out;
        for (const auto& c : platform.calls)
            if (c.rfind("write ", 0) == 0) out.push_back(c.substr(6));
        return out;
    }
    // Boxes as "caption|text".
    Strings Shown() const
    {
        Strings out;
        for (const auto& b : boxes.shown) out.push_back(b.caption + "|" + b.text);
        return out;
    }
    // A USB printer whose node was found and would not open: the next command reports it.
    void BreakPort()
    {
        host.port = "USB";
        platform.usbOpens = false;
        link.ReopenPort();
        platform.usbOpens = true;
        platform.calls.clear();
    }
    // Pressed with the port broken: the port's message alone, the handle closed, nothing
    // written and no box of the dialog's own.
    void ExpectPortBusyOnPress(QWidget* button)
    {
        Reset();
        BreakPort();
        Press(button);
        EXPECT_EQ(host.messages, Strings{kPortBusyShown});
        EXPECT_TRUE(LinkTestAccess::Port(link).IsNone());
        EXPECT_TRUE(boxes.shown.empty());
        EXPECT_TRUE(platform.calls.empty());
    }
    void Reset()
    {
        platform.calls.clear();
        boxes.shown.clear();
        host.messages.clear();
    }

    RecordingBoxes boxes;
    RecordingPlatform platform;
    FakeHost host;
    HostedLink link{host, platform};
    Sender sender{link};
};

} // namespace tallyx::test
