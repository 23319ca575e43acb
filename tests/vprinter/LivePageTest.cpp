// The live page's server: what it gathers for each receipt, what it keeps, and who may change
// the printer through it. Raw requests on 127.0.0.1, as any browser or script would send them.
#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include "tests/vprinter/LoopbackClient.h"
#include "vprinter/web/LivePage.h"

namespace tallyx::vprinter::test {
namespace {

LogRecord Record(size_t length, const char* mnemonic)
{
    LogRecord r;
    r.link = "tcp";
    r.length = length;
    r.mnemonic = mnemonic;
    return r;
}

void Input(RollRecorder& recorder, std::string_view bytes, std::string_view source)
{
    recorder.Input(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), source);
}

TEST(RollRecorder, EachReceiptTakesItsOwnBytesLogAndSourceEvenWithinOneChunk)
{
    RollRecorder recorder;
    // "AB\n" GS V 0, then "C\n" of the next receipt, all in one write.
    Input(recorder, std::string_view("AB\n\x1D\x56\x00" "C\n", 8), "tcp 127.0.0.1:5000");
    EXPECT_FALSE(recorder.Log(Record(2, "text")));
    EXPECT_FALSE(recorder.Log(Record(1, "LF")));
    // The cut ends the receipt before it logs itself: the receipt waits for that line.
    EXPECT_TRUE(recorder.Done("full", "png1", 384, 30, 1000).empty());
    auto first = recorder.Log(Record(3, "GS V"));
    ASSERT_TRUE(first);
    EXPECT_EQ(first->bytes, std::string("AB\n\x1D\x56\x00", 6));
    EXPECT_EQ(first->byteCount, 6u);
    ASSERT_EQ(first->log.size(), 3u);
    EXPECT_EQ(first->log.back().mnemonic, "GS V");
    EXPECT_EQ(first->sources, std::vector<std::string>{"tcp 127.0.0.1:5000"});
    EXPECT_EQ(first->cut, "full");
    EXPECT_EQ(first->png, "png1");

    // The silence ends the next one (no cut): finished at once, with the bytes left over and
    // the serial link's that joined it.
    Input(recorder, "D\n", "pty /tmp/ttyVP");
    EXPECT_FALSE(recorder.Log(Record(1, "text")));
    EXPECT_FALSE(recorder.Log(Record(1, "LF")));
    EXPECT_FALSE(recorder.Log(Record(1, "text")));
    EXPECT_FALSE(recorder.Log(Record(1, "LF")));
    auto second = recorder.Done("none", "png2", 384, 60, 2000);
    ASSERT_EQ(second.size(), 1u);
    EXPECT_EQ(second[0].bytes, "C\nD\n");
    EXPECT_EQ(second[0].log.size(), 4u);
    EXPECT_EQ(second[0].sources, (std::vector<std::string>{"tcp 127.0.0.1:5000", "pty /tmp/ttyVP"}));
}

TEST(RollRecorder, BytesBeyondTheCapAreCountedAndTheNextReceiptSaysItLacksItsStart)
{
    RollRecorder recorder;
    const std::string big(kMaxWebReceiptBytes + 10, 'x');
    Input(recorder, big + "yy", "tcp a");
    EXPECT_FALSE(recorder.Log(Record(big.size(), "text")));
    auto first = recorder.Done("none", "", 384, 30, 0);
    ASSERT_EQ(first.size(), 1u);
    EXPECT_EQ(first[0].byteCount, kMaxWebReceiptBytes + 10);
    EXPECT_EQ(first[0].bytes.size(), kMaxWebReceiptBytes);
    EXPECT_TRUE(first[0].bytesFromStart);
    EXPECT_FALSE(recorder.Log(Record(2, "text")));
    auto second = recorder.Done("none", "", 384, 30, 0);
    ASSERT_EQ(second.size(), 1u);
    EXPECT_EQ(second[0].byteCount, 2u);
    EXPECT_FALSE(second[0].bytesFromStart);
}

// A raw HTTP exchange on 127.0.0.1: the whole answer (the server closes after it).
std::string Exchange(uint16_t port, const std::string& request)
{
    const int fd = ConnectLoopback(port);
    if (fd < 0) return "";
    SendAll(fd, request);
    std::string answer;
    for (;;) {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, 5000) <= 0) break;
        char buffer[4096];
        const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
        if (n <= 0) break;
        answer.append(buffer, size_t(n));
    }
    ::close(fd);
    return answer;
}

std::string StatusLine(const std::string& answer)
{
    return answer.substr(0, answer.find("\r\n"));
}

class Page : public ::testing::Test {
protected:
    void SetUp() override
    {
        LivePageOptions o;
        o.status = [this] { return Status(); };
        o.setStatus = [this](const DeviceStatus& s) {
            std::lock_guard lock(m_mutex);
            m_status = s;
            ++m_sets;
        };
        m_page = std::make_unique<LivePage>(o);
        std::string error;
        ASSERT_TRUE(m_page->Start(&error)) << error;
        m_host = "127.0.0.1:" + std::to_string(m_page->Port());
    }
    std::string Post(const std::string& path, const std::string& body, const std::string& extra)
    {
        return Exchange(m_page->Port(), "POST " + path + " HTTP/1.1\r\nHost: " + m_host + "\r\n" + extra +
                                            "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body);
    }
    std::string Get(const std::string& path, const std::string& host = "")
    {
        return Exchange(m_page->Port(), "GET " + path + " HTTP/1.1\r\nHost: " + (host.empty() ? m_host : host) + "\r\n\r\n");
    }

    DeviceStatus Status()
    {
        std::lock_guard lock(m_mutex);
        return m_status;
    }

    std::mutex m_mutex;   // the server's thread sets what the test reads
    DeviceStatus m_status;
    std::atomic<int> m_sets{0};
    std::unique_ptr<LivePage> m_page;
    std::string m_host;
};

TEST_F(Page, OnlyItsOwnPageWithItsTokenMaySwitchTheStates)
{
    const std::string token = "X-Tallyx-Token: " + m_page->Token() + "\r\n";
    const std::string ownOrigin = "Origin: http://" + m_host + "\r\n";
    const struct {
        const char* what;
        std::string headers;
        const char* status;
    } rows[] = {
        {"no token", ownOrigin, "HTTP/1.1 403 Forbidden"},
        {"a wrong token", "X-Tallyx-Token: 0123\r\n" + ownOrigin, "HTTP/1.1 403 Forbidden"},
        {"another origin", token + "Origin: http://evil.example\r\n", "HTTP/1.1 403 Forbidden"},
        {"another site", token + ownOrigin + "Sec-Fetch-Site: cross-site\r\n", "HTTP/1.1 403 Forbidden"},
        {"its own page", token + ownOrigin + "Sec-Fetch-Site: same-origin\r\n", "HTTP/1.1 204 No Content"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        EXPECT_EQ(StatusLine(Post("/status", "paper-out,offline", row.headers)), row.status);
    }
    EXPECT_EQ(m_sets, 1);
    EXPECT_TRUE(Status().paperOut && Status().offline && !Status().coverOpen);
    EXPECT_EQ(StatusLine(Post("/status", "paper-gone", token)), "HTTP/1.1 400 Bad Request");
    EXPECT_EQ(StatusLine(Post("/status", "", token)), "HTTP/1.1 204 No Content");
    EXPECT_EQ(Status(), DeviceStatus{});
    // The page carries the token, so a page from elsewhere (which cannot read it) has none.
    EXPECT_NE(Get("/").find("content=\"" + m_page->Token() + "\""), std::string::npos);
    EXPECT_EQ(StatusLine(Exchange(m_page->Port(), "PUT /clear HTTP/1.1\r\nHost: " + m_host + "\r\n\r\n")),
              "HTTP/1.1 405 Method Not Allowed");
}

TEST_F(Page, RefusesOtherHostNamesAndOversizedOrMalformedRequests)
{
    EXPECT_EQ(StatusLine(Get("/", "rebound.example:80")), "HTTP/1.1 421 Misdirected Request");
    EXPECT_EQ(StatusLine(Get("/", "localhost:" + std::to_string(m_page->Port()))), "HTTP/1.1 200 OK");
    const std::string longHeader = "X-Filler: " + std::string(kMaxRequestHead, 'a') + "\r\n";
    EXPECT_EQ(StatusLine(Exchange(m_page->Port(), "GET / HTTP/1.1\r\n" + longHeader + "\r\n")),
              "HTTP/1.1 431 Request Header Fields Too Large");
    EXPECT_EQ(StatusLine(Post("/status", std::string(kMaxRequestBody + 1, 'a'), "")), "HTTP/1.1 413 Payload Too Large");
    EXPECT_EQ(StatusLine(Post("/status", std::string(kMaxRequestBody, 'a'), "")), "HTTP/1.1 403 Forbidden");
    EXPECT_EQ(StatusLine(Exchange(m_page->Port(), "GET nowhere\r\n\r\n")), "HTTP/1.1 400 Bad Request");
    EXPECT_EQ(StatusLine(Post("/clear", "", "Transfer-Encoding: chunked\r\n")), "HTTP/1.1 400 Bad Request");
    EXPECT_EQ(StatusLine(Get("/receipt/1.png")), "HTTP/1.1 404 Not Found");
    EXPECT_EQ(StatusLine(Get("/receipt/../../etc/passwd")), "HTTP/1.1 404 Not Found");
}

TEST_F(Page, KeepsTheNewestReceiptsOnlyAndGivesTheirFiles)
{
    for (size_t i = 1; i <= kMaxWebReceipts + 1; ++i) {
        WebReceipt r;
        r.png = "png " + std::to_string(i);
        r.bytes = "bytes " + std::to_string(i);
        m_page->Add(r);
    }
    EXPECT_EQ(m_page->Held(), 50u);
    EXPECT_EQ(StatusLine(Get("/receipt/1.png")), "HTTP/1.1 404 Not Found");
    const std::string png = Get("/receipt/51.png");
    EXPECT_NE(png.find("Content-Type: image/png\r\n"), std::string::npos);
    EXPECT_EQ(png.substr(png.find("\r\n\r\n") + 4), "png 51");
    const std::string bytes = Get("/receipt/2.bin");
    EXPECT_NE(bytes.find("filename=\"receipt-2.bin\""), std::string::npos);
    EXPECT_EQ(bytes.substr(bytes.find("\r\n\r\n") + 4), "bytes 2");

    const std::string token = "X-Tallyx-Token: " + m_page->Token() + "\r\n";
    EXPECT_EQ(StatusLine(Post("/clear", "", token)), "HTTP/1.1 204 No Content");
    EXPECT_EQ(m_page->Held(), 0u);
}

TEST(HttpAddress, PortAloneIsLoopbackAndAHostMustBeNamedWithIt)
{
    const struct {
        const char* text;
        bool ok;
        const char* host;
        uint16_t port;
    } rows[] = {
        {"8080", true, "127.0.0.1", 8080}, {"0.0.0.0:80", true, "0.0.0.0", 80}, {"127.0.0.1:0", true, "127.0.0.1", 0},
        {"65535", true, "127.0.0.1", 65535}, {"65536", false, "", 0}, {":80", false, "", 0},
        {"host:", false, "", 0}, {"80a", false, "", 0}, {"", false, "", 0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.text);
        std::string host;
        uint16_t port = 0;
        EXPECT_EQ(ParseHttpAddress(row.text, host, port), row.ok);
        if (row.ok) {
            EXPECT_EQ(host, row.host);
            EXPECT_EQ(port, row.port);
        }
    }
}

} // namespace
} // namespace tallyx::vprinter::test
