// Each link fault reaches standard error and the exit status through the fault table.
#include <gtest/gtest.h>

#include <functional>

#include "res/Faults.h"
#include "tests/cli/CliRun.h"
#include "tests/support/RecordingPlatform.h"

using namespace tallyx;
using namespace tallyx::test;

TEST(CliFaults, EachFaultEndsTheRunWithItsRow)
{
    const struct {
        LinkFault fault;
        std::function<void(RecordingPlatform&)> setUp;
        std::vector<std::string> args;
    } rows[] = {
        {LinkFault::PortBusy, [](auto& p) { p.serialOpens["COM1"] = false; }, {"--port", "COM1", "init"}},
        {LinkFault::UsbOpenFailed, [](auto& p) { p.usbOpens = false; }, {"--port", "USB", "init"}},
        {LinkFault::NoUsbDevice, [](auto& p) { p.usb.result = UsbFind::NoInterface; }, {"--port", "USB", "init"}},
        {LinkFault::UsbNotOpened, [](auto& p) { p.usb.result = UsbFind::NoDetail; }, {"--port", "USB", "init"}},
        {LinkFault::AddressBlank, [](auto&) {}, {"--port", "Ethernet", "--ip", "", "init"}},
        {LinkFault::AddressIncomplete, [](auto&) {}, {"--ip", "192.168.1", "query-network"}},
        {LinkFault::SendAddressIncomplete, [](auto&) {}, {"--port", "Ethernet", "--ip", "192.168.1", "init"}},
        {LinkFault::SocketFailed, [](auto& p) { p.socketOpens = false; }, {"--port", "Ethernet", "init"}},
        {LinkFault::NotReached, [](auto& p) { p.refuse = true; }, {"--port", "Ethernet", "init"}},
        {LinkFault::CutOff, [](auto& p) { p.cutAfterBytes = 1; }, {"--port", "Ethernet", "init"}},
        {LinkFault::ReplyShort, [](auto& p) { p.reply = {0xC0, 0xA8}; }, {"query-network"}},
        {LinkFault::SaveFailed, [](auto& p) { p.refuse = true; },
         {"--port", "Ethernet", "set-network", "--dhcp", "YES"}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(Join(row.args));
        RecordingPlatform platform;
        row.setUp(platform);
        const CliRun run = RunCliWith(platform, row.args);
        EXPECT_EQ(run.status, FaultRow(row.fault).exitStatus);
        // A port that does not open also says which and why (the platform's errno is ENOENT).
        const std::string more = row.fault == LinkFault::PortBusy ? "tallyx-cli: /dev/ttyS0: no such device\n" : "";
        EXPECT_EQ(run.err, std::string(FaultCliText(row.fault)) + "\n" + more);
    }
}
