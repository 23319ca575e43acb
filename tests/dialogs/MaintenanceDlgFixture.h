#pragma once
// What the code page, cutter and voice dialog tests share: a link on the recording
// platform with COM1 open, message boxes recorded, button presses and the writes seen.
#include <QPushButton>
#include <gtest/gtest.h>

#include "ui/MessageBoxes.h"
#include "tests/support/RecordingBoxes.h"
#include "tests/support/RecordingPlatform.h"

namespace tallyx::test {

class MaintenanceDlgTest : public ::testing::Test {
protected:
    MaintenanceDlgTest()
    {
        InstallBoxes(&boxes);
        link.ReopenPort();   // COM1 open, as after a connect
        platform.calls.clear();
    }
    ~MaintenanceDlgTest() override { InstallBoxes(nullptr); }

    static void Press(QWidget* button) { qobject_cast<QPushButton*>(button)->click(); }
    std::vector<std::string> Writes() const
    {
        std::vector<std::string> out;
        for (const auto& c : platform.calls)
            if (c.rfind("write ", 0) == 0) out.push_back(c.substr(6));
        return out;
    }
    // Boxes as "caption|text".
    std::vector<std::string> Shown() const
    {
        std::vector<std::string> out;
        for (const auto& b : boxes.shown) out.push_back(b.caption + "|" + b.text);
        return out;
    }
    void BreakPort() { link.g_hPort = PortHandle{PortHandle::State::Failed, -1}; }

    RecordingBoxes boxes;
    RecordingPlatform platform;
    FakeHost host;
    Link link{host, platform};
};

using Strings = std::vector<std::string>;
inline const std::string kPortBusyShown = "tallyx|此端口被占用或已损坏|0";

} // namespace tallyx::test
