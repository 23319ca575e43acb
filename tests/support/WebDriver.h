#pragma once
// Debian's headless Chromium driven over the WebDriver protocol (chromedriver on a loopback
// port), for tests of the pages the programs serve. Every call is bounded; a failure says why
// in Error() instead of throwing, so a test can print it.
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <sys/types.h>

namespace tallyx::test {

class WebDriver {
public:
    // Starts chromedriver and one browser session; Ok() tells whether both came up.
    WebDriver();
    ~WebDriver();
    WebDriver(const WebDriver&) = delete;
    WebDriver& operator=(const WebDriver&) = delete;

    bool Ok() const { return !m_session.empty(); }
    const std::string& Error() const { return m_error; }

    bool Navigate(const std::string& url);
    // The first element matching a CSS selector ("" when there is none).
    std::string Find(const std::string& css);
    // Polls for the element until it exists or timeoutMs pass.
    std::string WaitFor(const std::string& css, int timeoutMs = 5000);
    bool Click(const std::string& element);
    bool Type(const std::string& element, const std::string& text);
    std::string Text(const std::string& element);
    // Runs a script in the page (`return ...;` gives its value); null on failure.
    nlohmann::json Execute(const std::string& script, const nlohmann::json& args = nlohmann::json::array());
    // Polls a script until it returns true or timeoutMs pass.
    bool WaitUntil(const std::string& script, int timeoutMs = 5000);
    bool Screenshot(const std::string& pngPath);
    bool SetWindowSize(int width, int height);

private:
    std::optional<nlohmann::json> Call(const std::string& method, const std::string& path,
                                       const nlohmann::json& body = nullptr, int timeoutMs = 20000);
    std::optional<nlohmann::json> SessionCall(const std::string& method, const std::string& path,
                                              const nlohmann::json& body = nullptr);

    pid_t m_driver = -1;
    uint16_t m_port = 0;
    std::string m_profileDir;
    std::string m_session;
    std::string m_error;
};

} // namespace tallyx::test
