// The printer application's own rules: device URIs, job settings, state reasons, drivers.
#include <gtest/gtest.h>

#include <map>

#include "printer/DeviceUri.h"
#include "printer/Drivers.h"
#include "printer/JobSettings.h"
#include "printer/StateReasons.h"
#include "tests/support/Hex.h"

namespace tallyx::printer {
namespace {

TEST(DeviceUris, TheThreeFormsAndTheirLimits)
{
    struct Row {
        const char* uri;
        bool ok;
        DeviceKind kind;
        const char* where;
        uint32_t number;   // port or baud
    };
    const Row rows[] = {
        {"socket://192.168.1.100", true, DeviceKind::Socket, "192.168.1.100", 9100},
        {"socket://printer.local:9101", true, DeviceKind::Socket, "printer.local", 9101},
        {"socket://127.0.0.1:65535", true, DeviceKind::Socket, "127.0.0.1", 65535},
        {"socket://127.0.0.1:65536", false, DeviceKind::Socket, "", 0},
        {"socket://127.0.0.1:0", false, DeviceKind::Socket, "", 0},
        {"socket://:9100", false, DeviceKind::Socket, "", 0},
        {"serial:///dev/ttyUSB0", true, DeviceKind::Serial, "/dev/ttyUSB0", 9600},
        {"serial:///dev/ttyS0?baud=115200", true, DeviceKind::Serial, "/dev/ttyS0", 115200},
        {"serial:///dev/ttyS0?baud=12345", false, DeviceKind::Serial, "", 0},
        {"serial:///dev/ttyS0?baud=", false, DeviceKind::Serial, "", 0},
        {"serial://dev/ttyS0", false, DeviceKind::Serial, "", 0},
        {"serial:///dev/../etc/passwd", false, DeviceKind::Serial, "", 0},
        {"usb:///dev/usb/lp0", true, DeviceKind::Usb, "/dev/usb/lp0", 0},
        {"usb:///dev/usb/lp0?baud=9600", false, DeviceKind::Usb, "", 0},
        {"file:///tmp/out", false, DeviceKind::Socket, "", 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.uri);
        const auto uri = ParseDeviceUri(row.uri);
        ASSERT_EQ(uri.has_value(), row.ok);
        if (!row.ok) continue;
        EXPECT_EQ(uri->kind, row.kind);
        if (row.kind == DeviceKind::Socket) {
            EXPECT_EQ(uri->host, row.where);
            EXPECT_EQ(uri->port, row.number);
        } else {
            EXPECT_EQ(uri->path, row.where);
            if (row.kind == DeviceKind::Serial) {
                EXPECT_EQ(uri->baud, row.number);
            }
        }
    }
    EXPECT_EQ(SerialDeviceUri("/dev/ttyUSB0", 19200), "serial:///dev/ttyUSB0?baud=19200");
}

ReceiptOptions Read(std::map<std::string, std::string> values)
{
    return ReadJobSettings([&](std::string_view name) -> std::optional<std::string> {
        const auto it = values.find(std::string(name));
        if (it == values.end()) return std::nullopt;
        return it->second;
    });
}

TEST(JobSettings, KeywordsBecomeOptionsAndUnknownOnesTheDefault)
{
    const ReceiptOptions defaults = Read({});
    EXPECT_EQ(defaults.cut, CutWhen::AfterJob);
    EXPECT_EQ(defaults.cutKind, CutKind::Partial);
    EXPECT_EQ(defaults.drawerWhen, DrawerWhen::None);
    EXPECT_EQ(defaults.logo, LogoWhere::None);
    EXPECT_FALSE(defaults.dither.has_value());

    const ReceiptOptions set = Read({{"cut-when", "after-page"}, {"cut-type", "full"}, {"cash-drawer", "drawer-2-before"},
                                     {"nv-logo", "bottom-4"}, {"dither-method", "atkinson"}});
    EXPECT_EQ(set.cut, CutWhen::AfterPage);
    EXPECT_EQ(set.cutKind, CutKind::Full);
    EXPECT_EQ(set.drawerWhen, DrawerWhen::BeforeJob);
    EXPECT_EQ(set.drawer, 2);
    EXPECT_EQ(set.logo, LogoWhere::Bottom);
    EXPECT_EQ(set.logoSlot, 4);
    EXPECT_EQ(set.dither, DitherMethod::Atkinson);

    const ReceiptOptions odd = Read({{"cut-when", "sometimes"}, {"cash-drawer", "drawer-3-after"}, {"nv-logo", "top-6"}});
    EXPECT_EQ(odd.cut, CutWhen::AfterJob);
    EXPECT_EQ(odd.drawerWhen, DrawerWhen::None);
    EXPECT_EQ(odd.logo, LogoWhere::None);

    const ReceiptOptions drawerOneAfter = Read({{"cash-drawer", "drawer-1-after"}, {"nv-logo", "top-1"}});
    EXPECT_EQ(drawerOneAfter.drawer, 1);
    EXPECT_EQ(drawerOneAfter.drawerWhen, DrawerWhen::AfterJob);
    EXPECT_EQ(drawerOneAfter.logo, LogoWhere::Top);
    EXPECT_EQ(drawerOneAfter.logoSlot, 1);
}

TEST(StateReasons, EachConditionItsReason)
{
    auto with = [](auto change) {
        PrinterStatus s;
        change(s);
        return std::optional<PrinterStatus>(s);
    };
    struct Row {
        const char* name;
        std::optional<PrinterStatus> status;
        unsigned reasons;
    };
    const Row rows[] = {
        {"no answer", std::nullopt, PAPPL_PREASON_OFFLINE},
        {"ready", with([](PrinterStatus&) {}), PAPPL_PREASON_NONE},
        {"paper out", with([](PrinterStatus& s) { s.paper = PaperLevel::Out; }),
         PAPPL_PREASON_MEDIA_EMPTY | PAPPL_PREASON_MEDIA_NEEDED},
        {"stopped at the paper end, offline",
         with([](PrinterStatus& s) {
             s.stoppedAtPaperEnd = true;
             s.offline = true;
         }),
         PAPPL_PREASON_MEDIA_EMPTY | PAPPL_PREASON_MEDIA_NEEDED},
        {"paper near its end", with([](PrinterStatus& s) { s.paper = PaperLevel::NearEnd; }), PAPPL_PREASON_MEDIA_LOW},
        {"cover open", with([](PrinterStatus& s) { s.coverOpen = true; }), PAPPL_PREASON_DOOR_OPEN},
        {"cutter error", with([](PrinterStatus& s) { s.cutterError = true; }), PAPPL_PREASON_OTHER},
        {"its own switch", with([](PrinterStatus& s) { s.offline = true; }), PAPPL_PREASON_OFFLINE},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(unsigned(StateReasons(row.status)), row.reasons);
    }
}

TEST(StateReasons, FourQuestionsAskedAndABadAnswerIsNoAnswer)
{
    std::vector<std::string> asked;
    std::map<uint8_t, uint8_t> replies{{1, 0x12}, {2, 0x12}, {3, 0x12}, {4, 0x72}};
    const auto exchange = [&](const Bytes& request) -> std::optional<uint8_t> {
        asked.push_back(test::Hex(request));
        const auto it = replies.find(request.back());
        if (it == replies.end()) return std::nullopt;
        return it->second;
    };
    const auto status = AskStatus(exchange);
    ASSERT_TRUE(status);
    EXPECT_EQ(status->paper, PaperLevel::Out);
    EXPECT_EQ(asked, (std::vector<std::string>{"10 04 01", "10 04 02", "10 04 03", "10 04 04"}));

    replies[3] = 0xFF;   // not a status byte
    EXPECT_FALSE(AskStatus(exchange));
    replies.erase(1);
    EXPECT_FALSE(AskStatus(exchange));
}

TEST(Drivers, AUsbDeviceIdPicksItsDriver)
{
    struct Row {
        const char* id;
        const char* driver;   // "" none
    };
    const Row rows[] = {
        {"MFG:EPSON;CMD:ESC/POS;MDL:TM-T88V;CLS:PRINTER;", "tm-t88"},
        {"MANUFACTURER:POS;MODEL:POS-58;", "zh-58"},
        {"MFG:POS;MDL:POS-80C;CMD:ESC/POS;", "zh-80"},
        {"MFG:EPSON;MDL:TM-U220;", ""},
        {"", ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.id);
        const Driver* d = MatchDeviceId(row.id);
        EXPECT_EQ(d ? std::string(d->name) : "", row.driver);
    }
}

} // namespace
} // namespace tallyx::printer
