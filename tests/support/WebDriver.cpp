#include "tests/support/WebDriver.h"

#include <arpa/inet.h>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace tallyx::test {

namespace {

constexpr char kDriver[] = "/usr/bin/chromedriver";
constexpr char kBrowser[] = "/usr/bin/chromium";
// Flags for a closed network: without the background ones Chromium keeps calling home.
constexpr const char* kBrowserArgs[] = {
    "--headless",          "--no-sandbox",         "--disable-gpu",
    "--disable-quic",      "--no-first-run",       "--disable-background-networking",
    "--disable-component-update", "--disable-sync", "--disable-dev-shm-usage",
};
constexpr char kElementKey[] = "element-6066-11e4-a52e-4f735466cecf";

using Clock = std::chrono::steady_clock;

uint16_t FreePort()
{
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    if (fd < 0) return 0;
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof addr;
    uint16_t port = 0;
    if (bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0 &&
        getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len) == 0)
        port = ntohs(addr.sin_port);
    close(fd);
    return port;
}

// One request on a connection of its own; the body of the answer, or nothing.
std::optional<std::string> HttpRequest(uint16_t port, const std::string& method, const std::string& path,
                                       const std::string& body, int timeoutMs, std::string& error)
{
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        error = std::string("socket: ") + std::strerror(errno);
        return std::nullopt;
    }
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(port);
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
        error = std::string("connect: ") + std::strerror(errno);
        close(fd);
        return std::nullopt;
    }
    std::string request = method + " " + path + " HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n";
    request += "Content-Type: application/json\r\nContent-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body;
    for (size_t sent = 0; sent < request.size();) {
        const ssize_t n = send(fd, request.data() + sent, request.size() - sent, MSG_NOSIGNAL);
        if (n <= 0) {
            error = std::string("send: ") + std::strerror(errno);
            close(fd);
            return std::nullopt;
        }
        sent += size_t(n);
    }
    std::string answer;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    char chunk[16384];
    // The driver keeps the connection open: the answer ends at its Content-Length.
    auto whole = [&answer]() -> bool {
        const size_t split = answer.find("\r\n\r\n");
        if (split == std::string::npos) return false;
        std::string head = answer.substr(0, split);
        for (char& c : head) c = char(std::tolower(static_cast<unsigned char>(c)));
        const size_t at = head.find("content-length:");
        if (at == std::string::npos) return false;
        return answer.size() - split - 4 >= std::stoul(head.substr(at + 15));
    };
    while (!whole()) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        pollfd p{fd, POLLIN, 0};
        if (left <= 0 || poll(&p, 1, int(left)) <= 0) {
            error = method + " " + path + ": no answer within " + std::to_string(timeoutMs) + " ms";
            close(fd);
            return std::nullopt;
        }
        const ssize_t n = recv(fd, chunk, sizeof chunk, 0);
        if (n <= 0) break;
        answer.append(chunk, size_t(n));
    }
    close(fd);
    const size_t split = answer.find("\r\n\r\n");
    if (split == std::string::npos) {
        error = method + " " + path + ": no HTTP answer";
        return std::nullopt;
    }
    return answer.substr(split + 4);
}

std::string Base64Decode(const std::string& in)
{
    auto value = [](char c) -> int {
        if (c >= 'A' && c <= 'Z') return c - 'A';
        if (c >= 'a' && c <= 'z') return c - 'a' + 26;
        if (c >= '0' && c <= '9') return c - '0' + 52;
        if (c == '+') return 62;
        if (c == '/') return 63;
        return -1;
    };
    std::string out;
    int bits = 0, buffer = 0;
    for (char c : in) {
        const int v = value(c);
        if (v < 0) continue;
        buffer = (buffer << 6) | v;
        bits += 6;
        if (bits >= 8) {
            bits -= 8;
            out.push_back(char((buffer >> bits) & 0xFF));
        }
    }
    return out;
}

} // namespace

WebDriver::WebDriver()
{
    if (access(kDriver, X_OK) != 0 || access(kBrowser, X_OK) != 0) {
        m_error = std::string(kDriver) + " or " + kBrowser + " is missing: run make deps";
        return;
    }
    m_port = FreePort();
    char dir[] = "/tmp/tallyx-chromium-XXXXXX";
    if (!mkdtemp(dir)) {
        m_error = std::string("mkdtemp: ") + std::strerror(errno);
        return;
    }
    m_profileDir = dir;
    const std::string portArg = "--port=" + std::to_string(m_port);
    m_driver = fork();
    if (m_driver == 0) {
        const int null = open("/dev/null", O_WRONLY);
        if (null >= 0) {
            dup2(null, STDOUT_FILENO);
            dup2(null, STDERR_FILENO);
        }
        execl(kDriver, kDriver, portArg.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    if (m_driver < 0) {
        m_error = std::string("fork: ") + std::strerror(errno);
        return;
    }
    // The driver is ready once it answers its status.
    const auto deadline = Clock::now() + std::chrono::seconds(15);
    bool ready = false;
    while (!ready && Clock::now() < deadline) {
        std::string ignored;
        if (auto body = HttpRequest(m_port, "GET", "/status", "", 1000, ignored)) {
            const auto status = nlohmann::json::parse(*body, nullptr, false);
            ready = !status.is_discarded() && status["value"].value("ready", false);
        }
        if (!ready) std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    if (!ready) {
        m_error = "chromedriver did not start within 15 s";
        return;
    }
    nlohmann::json args = nlohmann::json::array();
    for (const char* a : kBrowserArgs) args.push_back(a);
    args.push_back("--user-data-dir=" + m_profileDir);
    args.push_back("--window-size=1280,1000");
    const nlohmann::json caps = {
        {"capabilities",
         {{"alwaysMatch", {{"browserName", "chrome"}, {"goog:chromeOptions", {{"binary", kBrowser}, {"args", args}}}}}}}};
    const auto created = Call("POST", "/session", caps, 60000);
    if (created && (*created)["value"].contains("sessionId")) m_session = (*created)["value"]["sessionId"];
    else if (m_error.empty()) m_error = "no browser session: " + (created ? created->dump() : std::string("none"));
}

WebDriver::~WebDriver()
{
    if (!m_session.empty()) Call("DELETE", "/session/" + m_session, nullptr, 10000);
    if (m_driver > 0) {
        kill(m_driver, SIGTERM);
        int status = 0;
        for (int i = 0; i < 100 && waitpid(m_driver, &status, WNOHANG) == 0; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        if (waitpid(m_driver, &status, WNOHANG) == 0) {
            kill(m_driver, SIGKILL);
            waitpid(m_driver, &status, 0);
        }
    }
    if (!m_profileDir.empty()) {
        std::error_code ec;
        std::filesystem::remove_all(m_profileDir, ec);
    }
}

std::optional<nlohmann::json> WebDriver::Call(const std::string& method, const std::string& path,
                                              const nlohmann::json& body, int timeoutMs)
{
    const std::string text = body.is_null() ? (method == "POST" ? "{}" : "") : body.dump();
    const auto answer = HttpRequest(m_port, method, path, text, timeoutMs, m_error);
    if (!answer) return std::nullopt;
    auto json = nlohmann::json::parse(*answer, nullptr, false);
    if (json.is_discarded()) {
        m_error = method + " " + path + ": not JSON: " + answer->substr(0, 200);
        return std::nullopt;
    }
    if (json["value"].is_object() && json["value"].contains("error")) {
        m_error = method + " " + path + ": " + json["value"].value("error", "") + ": " +
                  json["value"].value("message", "").substr(0, 300);
        return std::nullopt;
    }
    return json;
}

std::optional<nlohmann::json> WebDriver::SessionCall(const std::string& method, const std::string& path,
                                                     const nlohmann::json& body)
{
    if (m_session.empty()) return std::nullopt;
    return Call(method, "/session/" + m_session + path, body);
}

bool WebDriver::Navigate(const std::string& url)
{
    return SessionCall("POST", "/url", {{"url", url}}).has_value();
}

std::string WebDriver::Find(const std::string& css)
{
    const auto found = SessionCall("POST", "/element", {{"using", "css selector"}, {"value", css}});
    if (!found || !(*found)["value"].contains(kElementKey)) return {};
    return (*found)["value"][kElementKey];
}

std::string WebDriver::WaitFor(const std::string& css, int timeoutMs)
{
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        if (std::string element = Find(css); !element.empty()) return element;
        if (Clock::now() >= deadline) {
            m_error = "no element " + css + " within " + std::to_string(timeoutMs) + " ms";
            return {};
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
}

bool WebDriver::Click(const std::string& element)
{
    return SessionCall("POST", "/element/" + element + "/click").has_value();
}

bool WebDriver::Type(const std::string& element, const std::string& text)
{
    return SessionCall("POST", "/element/" + element + "/value", {{"text", text}}).has_value();
}

std::string WebDriver::Text(const std::string& element)
{
    const auto got = SessionCall("GET", "/element/" + element + "/text");
    return got && (*got)["value"].is_string() ? std::string((*got)["value"]) : std::string();
}

nlohmann::json WebDriver::Execute(const std::string& script, const nlohmann::json& args)
{
    const auto got = SessionCall("POST", "/execute/sync", {{"script", script}, {"args", args}});
    return got ? (*got)["value"] : nlohmann::json();
}

bool WebDriver::WaitUntil(const std::string& script, int timeoutMs)
{
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        if (Execute(script) == true) return true;
        if (Clock::now() >= deadline) {
            if (m_error.empty()) m_error = "not true within " + std::to_string(timeoutMs) + " ms: " + script;
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
}

bool WebDriver::Screenshot(const std::string& pngPath)
{
    const auto got = SessionCall("GET", "/screenshot");
    if (!got || !(*got)["value"].is_string()) return false;
    std::ofstream out(pngPath, std::ios::binary);
    out << Base64Decode((*got)["value"]);
    return bool(out.flush());
}

bool WebDriver::SetWindowSize(int width, int height)
{
    return SessionCall("POST", "/window/rect", {{"width", width}, {"height", height}}).has_value();
}

} // namespace tallyx::test
