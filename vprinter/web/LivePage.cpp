#include "vprinter/web/LivePage.h"

#include <nlohmann/json.hpp>
#include <random>

#include "res/Hex.h"

namespace tallyx::vprinter {

namespace {

constexpr char kEventsPath[] = "/events";
constexpr char kReceiptPath[] = "/receipt/";   // + N.png or N.bin
constexpr char kClearPath[] = "/clear";
constexpr char kStatusPath[] = "/status";

std::string NewToken()
{
    std::random_device random;
    std::string token;
    for (int i = 0; i < 4; ++i) {
        char part[9];
        std::snprintf(part, sizeof part, "%08x", unsigned(random()));
        token += part;
    }
    return token;
}

std::string Event(const char* name, const nlohmann::json& data)
{
    return std::string("event: ") + name + "\ndata: " + data.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) +
           "\n\n";
}

nlohmann::json ReceiptJson(const WebReceipt& r)
{
    nlohmann::json log = nlohmann::json::array();
    for (const LogRecord& line : r.log)
        log.push_back({HexPairs(line.bytes), line.length, line.mnemonic, line.meaning, line.link});
    return {{"number", r.number},     {"time", r.timeMs},         {"sources", r.sources},
            {"moreSources", r.moreSources}, {"cut", r.cut},       {"width", r.width},
            {"height", r.height},     {"byteCount", r.byteCount}, {"bytesKept", r.bytes.size()},
            {"bytesFromStart", r.bytesFromStart}, {"log", log},   {"logCount", r.logCount}};
}

HttpResponse Plain(int status, std::string text)
{
    HttpResponse r;
    r.status = status;
    r.body = std::move(text) + "\n";
    return r;
}

bool IsLoopback(const std::string& host)
{
    return host.rfind("127.", 0) == 0;
}

} // namespace

bool ParseHttpAddress(const std::string& text, std::string& host, uint16_t& port)
{
    const auto colon = text.rfind(':');
    const std::string number = colon == std::string::npos ? text : text.substr(colon + 1);
    if (number.empty() || number.size() > 5 || number.find_first_not_of("0123456789") != std::string::npos) return false;
    const unsigned long value = std::stoul(number);
    if (value > 65535) return false;
    host = colon == std::string::npos ? "127.0.0.1" : text.substr(0, colon);
    if (host.empty()) return false;
    port = uint16_t(value);
    return true;
}

LivePage::LivePage(LivePageOptions options)
    : m_options(std::move(options)), m_token(NewToken()),
      m_server([this](const HttpRequest& request) { return Handle(request); })
{
}

LivePage::~LivePage()
{
    Stop();
}

bool LivePage::Start(std::string* error)
{
    return m_server.Start(m_options.host, m_options.port, error);
}

void LivePage::Stop()
{
    m_server.Stop();
}

std::string LivePage::Address() const
{
    return "http://" + m_options.host + ":" + std::to_string(Port()) + "/";
}

void LivePage::Add(WebReceipt receipt)
{
    std::lock_guard lock(m_mutex);
    receipt.number = m_next++;
    auto held = std::make_shared<const WebReceipt>(std::move(receipt));
    m_rollBytes += held->Footprint();
    m_roll.push_back(held);
    while (m_roll.size() > kMaxWebReceipts || (m_roll.size() > 1 && m_rollBytes > kMaxWebRollBytes)) {
        m_rollBytes -= m_roll.front()->Footprint();
        m_roll.pop_front();
    }
    // Under the roll's lock, so streams get the receipts in the roll's order.
    m_server.Broadcast(Event("receipt", ReceiptJson(*held)));
}

void LivePage::StatusChanged(const DeviceStatus& status)
{
    m_server.Broadcast(StatusEvent(status));
}

size_t LivePage::Held() const
{
    std::lock_guard lock(m_mutex);
    return m_roll.size();
}

std::string LivePage::StatusEvent(const DeviceStatus& status) const
{
    nlohmann::json conditions = nlohmann::json::array();
    for (const StatusCondition& c : kStatusConditions)
        conditions.push_back({{"word", c.word}, {"label", c.label}, {"on", status.*c.field}});
    return Event("status", conditions);
}

// A page from another name for this address (DNS rebinding) is not served.
bool LivePage::KnownHost(const HttpRequest& request) const
{
    if (!IsLoopback(m_options.host)) return true;
    const std::string host = request.Header("host");
    const std::string port = ":" + std::to_string(Port());
    return host == m_options.host + port || host == "localhost" + port;
}

bool LivePage::FromOwnPage(const HttpRequest& request) const
{
    if (request.Header(kTokenHeader) != m_token) return false;
    const std::string origin = request.Header("origin");
    if (!origin.empty() && origin != "http://" + request.Header("host")) return false;
    const std::string site = request.Header("sec-fetch-site");
    return site.empty() || site == "same-origin";
}

HttpResponse LivePage::Handle(const HttpRequest& request)
{
    if (!KnownHost(request)) return Plain(421, "unknown host");
    const std::string& path = request.path;
    if (request.method == "GET") {
        if (path == "/") {
            HttpResponse page;
            page.contentType = "text/html; charset=utf-8";
            page.body = LivePageHtml(m_title, m_token);
            page.headers.emplace_back("Content-Security-Policy",
                                      "default-src 'self'; style-src 'unsafe-inline'; script-src 'unsafe-inline'; "
                                      "img-src 'self'; frame-ancestors 'none'");
            return page;
        }
        if (path == kEventsPath) return Events();
        if (path.rfind(kReceiptPath, 0) == 0) return Download(path.substr(sizeof kReceiptPath - 1));
        return Plain(404, "not found");
    }
    if (request.method != "POST") return Plain(405, "only GET and POST");
    if (!FromOwnPage(request)) return Plain(403, "refused: not from this printer's page");
    if (path == kClearPath) {
        {
            std::lock_guard lock(m_mutex);
            m_roll.clear();
            m_rollBytes = 0;
            m_server.Broadcast(Event("clear", nlohmann::json::object()));
        }
        return Plain(204, "");
    }
    if (path == kStatusPath) {
        std::string bad;
        const auto status = ParseStatusList(request.body, &bad);
        if (!status) return Plain(400, "unknown condition: " + bad);
        if (m_options.setStatus) m_options.setStatus(*status);
        return Plain(204, "");
    }
    return Plain(404, "not found");
}

HttpResponse LivePage::Events()
{
    HttpResponse events;
    events.stream = true;
    events.contentType = "text/event-stream; charset=utf-8";
    events.body = "retry: 1000\n\n" + Event("reset", nlohmann::json::object());
    events.body += StatusEvent(m_options.status ? m_options.status() : DeviceStatus{});
    std::lock_guard lock(m_mutex);
    for (const auto& receipt : m_roll) events.body += Event("receipt", ReceiptJson(*receipt));
    return events;
}

HttpResponse LivePage::Download(const std::string& name)
{
    const auto dot = name.find('.');
    const std::string number = name.substr(0, dot);
    const std::string kind = dot == std::string::npos ? "" : name.substr(dot + 1);
    if (number.empty() || number.size() > 19 || number.find_first_not_of("0123456789") != std::string::npos ||
        (kind != "png" && kind != "bin"))
        return Plain(404, "not found");
    std::shared_ptr<const WebReceipt> receipt;
    {
        std::lock_guard lock(m_mutex);
        for (const auto& r : m_roll)
            if (std::to_string(r->number) == number) receipt = r;
    }
    if (!receipt) return Plain(404, "no such receipt on the roll");
    HttpResponse file;
    file.contentType = kind == "png" ? "image/png" : "application/octet-stream";
    file.body = kind == "png" ? receipt->png : receipt->bytes;
    file.headers.emplace_back("Content-Disposition",
                              "inline; filename=\"receipt-" + number + "." + kind + "\"");
    return file;
}

} // namespace tallyx::vprinter
