#pragma once
// The printer's live web page: the roll newest first, each receipt's picture, bytes and
// command log, new receipts sent as server-sent events, and the sensors switched as the
// tool's window switches them. Only the page it served may change anything: a request that
// changes the printer carries the page's token and comes from the page's own origin.
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "vprinter/device/DeviceStatus.h"
#include "vprinter/web/HttpServer.h"
#include "vprinter/web/RollRecorder.h"

namespace tallyx::vprinter {

// The roll keeps the newest receipts only: at most this many, and at most this many bytes.
inline constexpr size_t kMaxWebReceipts = 50;
inline constexpr size_t kMaxWebRollBytes = 64 * 1024 * 1024;
// The header the page sends its token in.
inline constexpr char kTokenHeader[] = "x-tallyx-token";

// "8080", "127.0.0.1:8080", "0.0.0.0:8080" into host and port (a bare port: loopback).
bool ParseHttpAddress(const std::string& text, std::string& host, uint16_t& port);

struct LivePageOptions {
    std::string host = "127.0.0.1";
    uint16_t port = 0;                  // 0: any free port
    std::function<DeviceStatus()> status;
    std::function<void(const DeviceStatus&)> setStatus;
};

class LivePage {
public:
    explicit LivePage(LivePageOptions options);
    ~LivePage();

    // The page's heading; before Start.
    void SetTitle(std::string title) { m_title = std::move(title); }
    bool Start(std::string* error);
    void Stop();
    // "http://127.0.0.1:8080/"
    std::string Address() const;
    uint16_t Port() const { return m_server.Port(); }
    const std::string& Token() const { return m_token; }

    // A finished receipt joins the roll (any thread; never waits on a reader).
    void Add(WebReceipt receipt);
    // The sensors have changed (any thread).
    void StatusChanged(const DeviceStatus& status);
    size_t Held() const;

private:
    HttpResponse Handle(const HttpRequest& request);
    HttpResponse Events();
    HttpResponse Download(const std::string& path);
    bool KnownHost(const HttpRequest& request) const;
    bool FromOwnPage(const HttpRequest& request) const;
    std::string StatusEvent(const DeviceStatus& status) const;

    LivePageOptions m_options;
    std::string m_token;
    std::string m_title;
    HttpServer m_server;

    mutable std::mutex m_mutex;   // guards the roll
    std::deque<std::shared_ptr<const WebReceipt>> m_roll;
    size_t m_rollBytes = 0;
    uint64_t m_next = 1;
};

// The page itself, with its token and title put in.
std::string LivePageHtml(const std::string& title, const std::string& token);

} // namespace tallyx::vprinter
