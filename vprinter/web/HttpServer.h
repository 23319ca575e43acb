#pragma once
// A small HTTP/1.1 server for the printer's live page: one thread, every connection closed
// after its answer, except event streams, which stay open and are sent what Broadcast gets.
// Requests are read within fixed bounds; anything larger or malformed is answered with an
// error and closed, never held.
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "vprinter/ports/ServiceThread.h"

namespace tallyx::vprinter {

inline constexpr size_t kMaxRequestHead = 16 * 1024;
inline constexpr size_t kMaxRequestBody = 4 * 1024;
inline constexpr size_t kMaxHttpConnections = 64;
// An event stream whose reader falls this far behind is dropped (its page reconnects).
inline constexpr size_t kMaxStreamBacklog = 16 * 1024 * 1024;

struct HttpRequest {
    std::string method;
    std::string path;                            // without the query
    std::map<std::string, std::string> headers;  // names in lower case
    std::string body;
    std::string Header(const std::string& lowerName) const
    {
        const auto it = headers.find(lowerName);
        return it == headers.end() ? std::string() : it->second;
    }
};

struct HttpResponse {
    int status = 200;
    std::string contentType = "text/plain; charset=utf-8";
    std::string body;
    std::vector<std::pair<std::string, std::string>> headers;
    bool stream = false;   // an event stream: `body` is its first events, Broadcast sends the rest
};

// Parses one request head ("GET / HTTP/1.1\r\nHost: ...\r\n\r\n"). False when it is malformed.
bool ParseRequestHead(const std::string& head, HttpRequest& request);
// The whole answer as it goes on the wire.
std::string ResponseText(const HttpResponse& response);

class HttpServer {
public:
    using Handler = std::function<HttpResponse(const HttpRequest&)>;

    explicit HttpServer(Handler handler);
    ~HttpServer();
    HttpServer(const HttpServer&) = delete;
    HttpServer& operator=(const HttpServer&) = delete;

    // Binds and serves on a thread of its own. False with `error` set on failure.
    bool Start(const std::string& host, uint16_t port, std::string* error);
    void Stop();
    uint16_t Port() const { return m_port; }
    // Sent to every open event stream; any thread, never waits on a reader.
    void Broadcast(const std::string& eventText);

private:
    struct Connection {
        int fd = -1;
        std::string in;
        std::string out;
        bool stream = false;
        bool closeAfterSend = false;
        int64_t lastActivityMs = 0;
    };

    void Run();
    void Accept();
    void Read(Connection& c);
    void Write(Connection& c);
    void Answer(Connection& c, const HttpResponse& response);
    void TakeBroadcasts();

    Handler m_handler;
    int m_listenFd = -1;
    uint16_t m_port = 0;
    int m_news[2] = {-1, -1};   // written on Broadcast, so the thread wakes to send
    ServiceThread m_service;
    std::vector<Connection> m_connections;   // the server's thread only

    std::mutex m_mutex;   // guards m_pending
    std::string m_pending;
};

} // namespace tallyx::vprinter
