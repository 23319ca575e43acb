// The live page in a real browser (Debian's headless Chromium over WebDriver): receipts sent
// over TCP appear without a reload, newest first, and the page's state switches change what
// the printer answers to DLE EOT. Without Chromium this fails: CI installs it.
#include <gtest/gtest.h>

#include <unistd.h>

#include "tests/support/Hex.h"
#include "tests/support/WebDriver.h"
#include "tests/vprinter/LoopbackClient.h"
#include "vprinter/VirtualPrinter.h"

namespace tallyx::vprinter::test {
namespace {

using namespace std::string_view_literals;

// One DLE EOT 4 (paper sensors) on a connection of its own: the reply byte in hex.
std::string PaperSensors(uint16_t port)
{
    const int fd = ConnectLoopback(port);
    if (fd < 0) return "no connection";
    SendAll(fd, "\x10\x04\x04");
    const Bytes reply = ReadUpTo(fd, 1);
    ::close(fd);
    return tallyx::test::Hex(reply);
}

void SendReceipt(uint16_t port, std::string_view bytes)
{
    const int fd = ConnectLoopback(port);
    ASSERT_GE(fd, 0);
    ASSERT_TRUE(SendAll(fd, bytes));
    ::close(fd);
}

TEST(LivePageInBrowser, ShowsReceiptsAsTheyPrintAndSwitchesTheStates)
{
    VirtualPrinterOptions o;
    o.listenPort = 0;
    o.http = true;
    VirtualPrinter printer(o);
    std::string error;
    ASSERT_TRUE(printer.Start(&error)) << error;

    tallyx::test::WebDriver browser;
    ASSERT_TRUE(browser.Ok()) << browser.Error();
    browser.SetWindowSize(1000, 900);
    ASSERT_TRUE(browser.Navigate(printer.PageAddress())) << browser.Error();
    ASSERT_TRUE(browser.WaitUntil("return document.querySelectorAll('#status input').length === 6;")) << browser.Error();
    EXPECT_EQ(browser.Execute("return document.getElementById('empty').hidden;"), false);

    // Centred name, a bold total, a CODE128 barcode and a GBK line, then a full cut.
    SendReceipt(printer.TcpPort(), "\x1B@\x1B" "a\x01TALLYX CAFE\n\x1B" "E\x01Total 12.50\x1B" "E\x00\n"
                                   "\x1Dh\x32\x1DkI\x07{B12345\xD0\xBB\xD0\xBB\xBB\xDD\xB9\xCB\n\x1DV\x00"sv);
    SendReceipt(printer.TcpPort(), "Receipt two\n\x1DV\x01"sv);
    ASSERT_TRUE(browser.WaitUntil("const r = document.querySelectorAll('.receipt');"
                                  "return r.length === 2 && [...r].every(e => e.querySelector('img').naturalWidth === 384);"))
        << browser.Error() << "\n" << browser.Execute("return document.body.innerText;");
    // Newest first, each with where it came from, its cut and its command log.
    EXPECT_EQ(browser.Execute("return [...document.querySelectorAll('.receipt')].map(r => r.id).join(' ');"),
              "receipt-2 receipt-1");
    EXPECT_EQ(browser.Execute("return document.querySelector('#receipt-1 [data-fact=\"切纸\"]').textContent;"), "full");
    EXPECT_EQ(browser.Execute("return document.querySelector('#receipt-2 [data-fact=\"切纸\"]').textContent;"), "partial");
    EXPECT_EQ(browser.Execute("return document.querySelector('#receipt-1 [data-fact=\"来源\"]').textContent"
                              ".startsWith('tcp 127.0.0.1:');"),
              true);
    EXPECT_EQ(browser.Execute("return [...document.querySelectorAll('#receipt-2 .log tr')]"
                              ".map(r => r.cells[0].textContent + '|' + r.cells[1].textContent).join(' / ');"),
              "52 65 63 65 69 70 74 20 74 77 6F|text / 0A|LF / 1D 56 01|GS V");
    EXPECT_EQ(browser.Execute("return document.getElementById('empty').hidden;"), true);

    EXPECT_EQ(PaperSensors(printer.TcpPort()), "12");
    ASSERT_TRUE(browser.Click(browser.Find("input[data-word=\"paper-out\"]"))) << browser.Error();
    ASSERT_TRUE(WaitUntil([&] { return printer.Status().paperOut; }));
    EXPECT_EQ(PaperSensors(printer.TcpPort()), "7E");
    // A change made elsewhere (the tool's window) shows on the page.
    DeviceStatus ready;
    printer.SetStatus(ready);
    EXPECT_TRUE(browser.WaitUntil("return !document.querySelector('input[data-word=\"paper-out\"]').checked;"))
        << browser.Error();
    EXPECT_EQ(PaperSensors(printer.TcpPort()), "12");

    EXPECT_TRUE(browser.Screenshot(VPRINTER_WEB_SHOT)) << browser.Error();
    ASSERT_TRUE(browser.Click(browser.Find("#clear"))) << browser.Error();
    EXPECT_TRUE(browser.WaitUntil("return document.querySelectorAll('.receipt').length === 0;")) << browser.Error();
}

} // namespace
} // namespace tallyx::vprinter::test
