#include "vprinter/web/HttpServer.h"

#include <arpa/inet.h>
#include <algorithm>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>

namespace tallyx::vprinter {

namespace {

constexpr size_t kReadChunk = 16 * 1024;
constexpr int64_t kIdleCloseMs = 10000;   // a request that never completes
constexpr int kPollMs = 1000;

int64_t NowMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

const char* Reason(int status)
{
    switch (status) {
    case 200: return "OK";
    case 204: return "No Content";
    case 400: return "Bad Request";
    case 403: return "Forbidden";
    case 404: return "Not Found";
    case 405: return "Method Not Allowed";
    case 413: return "Payload Too Large";
    case 421: return "Misdirected Request";
    case 431: return "Request Header Fields Too Large";
    case 503: return "Service Unavailable";
    }
    return "Error";
}

std::string Lower(std::string text)
{
    for (char& c : text) c = char(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

std::string Trim(const std::string& text)
{
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

HttpResponse Refusal(int status)
{
    HttpResponse r;
    r.status = status;
    r.body = std::string(Reason(status)) + "\n";
    return r;
}

} // namespace

bool ParseRequestHead(const std::string& head, HttpRequest& request)
{
    size_t lineEnd = head.find("\r\n");
    if (lineEnd == std::string::npos) return false;
    const std::string line = head.substr(0, lineEnd);
    const auto space1 = line.find(' ');
    const auto space2 = line.rfind(' ');
    if (space1 == std::string::npos || space2 == space1) return false;
    request.method = line.substr(0, space1);
    const std::string target = line.substr(space1 + 1, space2 - space1 - 1);
    if (line.compare(space2 + 1, 7, "HTTP/1.") != 0 || target.empty() || target[0] != '/') return false;
    request.path = target.substr(0, target.find('?'));
    size_t at = lineEnd + 2;
    while (at < head.size()) {
        lineEnd = head.find("\r\n", at);
        if (lineEnd == std::string::npos) lineEnd = head.size();
        if (lineEnd == at) break;
        const std::string field = head.substr(at, lineEnd - at);
        const auto colon = field.find(':');
        if (colon == std::string::npos || colon == 0) return false;
        request.headers[Lower(field.substr(0, colon))] = Trim(field.substr(colon + 1));
        at = lineEnd + 2;
    }
    return true;
}

std::string ResponseText(const HttpResponse& response)
{
    std::string text = "HTTP/1.1 " + std::to_string(response.status) + " " + Reason(response.status) + "\r\n";
    text += "Content-Type: " + response.contentType + "\r\n";
    text += "X-Content-Type-Options: nosniff\r\n";
    if (response.stream) {
        text += "Cache-Control: no-cache\r\n";
    } else {
        text += "Cache-Control: no-store\r\nConnection: close\r\n";
        text += "Content-Length: " + std::to_string(response.body.size()) + "\r\n";
    }
    for (const auto& [name, value] : response.headers) text += name + ": " + value + "\r\n";
    return text + "\r\n" + response.body;
}

HttpServer::HttpServer(Handler handler) : m_handler(std::move(handler)) {}

HttpServer::~HttpServer()
{
    Stop();
}

bool HttpServer::Start(const std::string& host, uint16_t port, std::string* error)
{
    const auto fail = [&](const std::string& what) {
        if (error) *error = what + ": " + std::strerror(errno);
        Stop();
        return false;
    };
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(port);
    if (::inet_pton(AF_INET, host.c_str(), &addr.sin_addr) != 1) {
        if (error) *error = "not an IPv4 address: " + host;
        return false;
    }
    m_listenFd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (m_listenFd < 0) return fail("socket");
    int on = 1;
    ::setsockopt(m_listenFd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    if (::bind(m_listenFd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 || ::listen(m_listenFd, 64) != 0)
        return fail("listen on " + host + ":" + std::to_string(port));
    if (!m_service.Open() || ::pipe2(m_news, O_CLOEXEC | O_NONBLOCK) != 0) return fail("pipe");
    socklen_t len = sizeof addr;
    ::getsockname(m_listenFd, reinterpret_cast<sockaddr*>(&addr), &len);
    m_port = ntohs(addr.sin_port);
    m_service.Start([this] { Run(); });
    return true;
}

void HttpServer::Stop()
{
    m_service.Stop();
    for (Connection& c : m_connections) ::close(c.fd);
    m_connections.clear();
    for (int* fd : {&m_listenFd, &m_news[0], &m_news[1]}) {
        if (*fd >= 0) ::close(*fd);
        *fd = -1;
    }
}

void HttpServer::Broadcast(const std::string& eventText)
{
    {
        std::lock_guard lock(m_mutex);
        // Nobody taking them (a stopped thread) must not grow this without end.
        if (m_pending.size() < kMaxStreamBacklog) m_pending += eventText;
    }
    if (m_news[1] >= 0) (void)!::write(m_news[1], "n", 1);
}

void HttpServer::Run()
{
    std::vector<pollfd> fds;
    while (!m_service.Stopping()) {
        fds.clear();
        fds.push_back({m_service.WakeFd(), POLLIN, 0});
        fds.push_back({m_news[0], POLLIN, 0});
        fds.push_back({m_listenFd, POLLIN, 0});
        for (const Connection& c : m_connections)
            fds.push_back({c.fd, short(POLLIN | (c.out.empty() ? 0 : POLLOUT)), 0});
        if (::poll(fds.data(), fds.size(), kPollMs) < 0 && errno != EINTR) break;
        if (m_service.Stopping() || (fds[0].revents & POLLIN)) break;
        if (fds[1].revents & POLLIN) TakeBroadcasts();
        // The connections polled are the first ones; those accepted below wait a turn.
        const size_t polled = fds.size() - 3;
        for (size_t i = 0; i < polled; ++i) {
            Connection& c = m_connections[i];
            if (c.fd < 0) continue;   // dropped while the broadcasts were taken
            const short ev = fds[i + 3].revents;
            if (ev & (POLLERR | POLLNVAL)) c.closeAfterSend = true, c.out.clear();
            if (ev & (POLLIN | POLLHUP)) Read(c);
            if (c.fd >= 0 && !c.out.empty() && (ev & POLLOUT)) Write(c);
            if (c.fd >= 0 && c.out.empty() && c.closeAfterSend) {
                ::close(c.fd);
                c.fd = -1;
            }
            if (c.fd >= 0 && !c.stream && NowMs() - c.lastActivityMs > kIdleCloseMs) {
                ::close(c.fd);
                c.fd = -1;
            }
        }
        std::erase_if(m_connections, [](const Connection& c) { return c.fd < 0; });
        if (fds[2].revents & POLLIN) Accept();
    }
}

void HttpServer::Accept()
{
    for (;;) {
        const int fd = ::accept4(m_listenFd, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (fd < 0) return;
        if (m_connections.size() >= kMaxHttpConnections) {
            const std::string busy = ResponseText(Refusal(503));
            (void)!::send(fd, busy.data(), busy.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
            ::close(fd);
            continue;
        }
        m_connections.push_back(Connection{fd, {}, {}, false, false, NowMs()});
    }
}

void HttpServer::Read(Connection& c)
{
    char buffer[kReadChunk];
    const ssize_t n = ::recv(c.fd, buffer, sizeof buffer, MSG_DONTWAIT);
    if (n < 0 && (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK)) return;
    if (n <= 0) {   // the reader has gone: nothing more to send it
        ::close(c.fd);
        c.fd = -1;
        return;
    }
    c.lastActivityMs = NowMs();
    if (c.stream || c.closeAfterSend) return;   // answered already: the rest is not read
    c.in.append(buffer, size_t(n));
    const auto headEnd = c.in.find("\r\n\r\n");
    if (headEnd == std::string::npos) {
        if (c.in.size() > kMaxRequestHead) Answer(c, Refusal(431));
        return;
    }
    if (headEnd > kMaxRequestHead) return Answer(c, Refusal(431));
    HttpRequest request;
    if (!ParseRequestHead(c.in.substr(0, headEnd + 2), request) || !request.Header("transfer-encoding").empty())
        return Answer(c, Refusal(400));
    size_t length = 0;
    if (const std::string text = request.Header("content-length"); !text.empty()) {
        if (text.size() > 9 || text.find_first_not_of("0123456789") != std::string::npos)
            return Answer(c, Refusal(400));
        length = std::stoul(text);
        if (length > kMaxRequestBody) return Answer(c, Refusal(413));
    }
    if (c.in.size() < headEnd + 4 + length) return;
    request.body = c.in.substr(headEnd + 4, length);
    Answer(c, m_handler(request));
}

void HttpServer::Answer(Connection& c, const HttpResponse& response)
{
    c.in.clear();
    c.in.shrink_to_fit();
    c.out = ResponseText(response);
    c.stream = response.stream;
    c.closeAfterSend = !response.stream;
    Write(c);
}

void HttpServer::Write(Connection& c)
{
    while (!c.out.empty()) {
        const ssize_t sent = ::send(c.fd, c.out.data(), c.out.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
        if (sent < 0 && errno == EINTR) continue;
        if (sent < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return;
        if (sent <= 0) {
            ::close(c.fd);
            c.fd = -1;
            return;
        }
        c.out.erase(0, size_t(sent));
    }
}

void HttpServer::TakeBroadcasts()
{
    char drain[256];
    while (::read(m_news[0], drain, sizeof drain) > 0) {
    }
    std::string events;
    {
        std::lock_guard lock(m_mutex);
        events.swap(m_pending);
    }
    if (events.empty()) return;
    for (Connection& c : m_connections) {
        if (!c.stream || c.fd < 0) continue;
        if (c.out.size() + events.size() > kMaxStreamBacklog) {
            ::close(c.fd);
            c.fd = -1;
            continue;
        }
        c.out += events;
        Write(c);
    }
}

} // namespace tallyx::vprinter
