#include "vprinter/device/Script.h"

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstring>
#include <fstream>
#include <sstream>

namespace tallyx::vprinter {

namespace {

constexpr std::string_view kSpace = " \t\r";

std::string_view Trim(std::string_view s)
{
    const auto first = s.find_first_not_of(kSpace);
    if (first == std::string_view::npos) return {};
    return s.substr(first, s.find_last_not_of(kSpace) - first + 1);
}

template <typename T>
bool ParseNumber(std::string_view text, T& value)
{
    const char* end = text.data() + text.size();
    const auto [at, ec] = std::from_chars(text.data(), end, value);
    return ec == std::errc() && at == end;
}

// The reason the part is wrong, or "" when `event` took it.
std::string ParseWhen(std::string_view when, ScriptEvent& event)
{
    if (when.starts_with("receipt:")) {
        event.afterReceipt = true;
        if (!ParseNumber(when.substr(8), event.receipt) || event.receipt < 1)
            return "receipt:N wants a receipt number from 1, got \"" + std::string(when) + "\"";
        return "";
    }
    if (when.starts_with("time:")) {
        if (!ParseNumber(when.substr(5), event.seconds) || !std::isfinite(event.seconds) || event.seconds < 0)
            return "time:S wants seconds from 0, got \"" + std::string(when) + "\"";
        return "";
    }
    return "expected receipt:N or time:S, got \"" + std::string(when) + "\"";
}

std::string ParseAction(std::string_view action, ScriptEvent& event)
{
    static constexpr std::pair<std::string_view, ScriptAction> kWords[] = {
        {"ready", ScriptAction::Ready}, {"silent", ScriptAction::Silent},
        {"answer", ScriptAction::Answer}, {"close", ScriptAction::Close}};
    for (const auto& [word, kind] : kWords) {
        if (action != word) continue;
        event.action = kind;
        return "";
    }
    for (const StatusCondition& c : kStatusConditions) {
        if (action != c.word) continue;
        event.action = ScriptAction::Condition;
        event.condition = c.field;
        return "";
    }
    if (action.starts_with("rate:")) {
        event.action = ScriptAction::Rate;
        if (!ParseNumber(action.substr(5), event.rate) || event.rate < 1)
            return "rate:B wants bytes a second from 1, got \"" + std::string(action) + "\"";
        return "";
    }
    return "unknown action \"" + std::string(action) + "\", expected " + StatusWords() +
           ", ready, silent, answer, close or rate:B";
}

} // namespace

std::optional<std::vector<ScriptEvent>> ParseScript(std::string_view text, std::string* error)
{
    std::vector<ScriptEvent> events;
    int number = 0;
    while (!text.empty()) {
        const auto newline = text.find('\n');
        std::string_view line = text.substr(0, newline);
        text = newline == std::string_view::npos ? std::string_view() : text.substr(newline + 1);
        ++number;
        line = Trim(line.substr(0, line.find('#')));
        if (line.empty()) continue;
        ScriptEvent event;
        event.line = number;
        event.text = std::string(line);
        const auto gap = line.find_first_of(kSpace);
        std::string problem;
        if (gap == std::string_view::npos) {
            problem = "expected WHEN ACTION, got \"" + std::string(line) + "\"";
        } else {
            const std::string_view action = Trim(line.substr(gap));
            problem = ParseWhen(line.substr(0, gap), event);
            if (problem.empty() && action.find_first_of(kSpace) != std::string_view::npos)
                problem = "one action a line, got \"" + std::string(action) + "\"";
            if (problem.empty()) problem = ParseAction(action, event);
        }
        if (!problem.empty()) {
            if (error) *error = "line " + std::to_string(number) + ": " + problem;
            return std::nullopt;
        }
        events.push_back(std::move(event));
    }
    return events;
}

std::optional<std::vector<ScriptEvent>> LoadScript(const std::string& path, std::string* error)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        if (error) *error = path + ": " + std::strerror(errno);
        return std::nullopt;
    }
    std::ostringstream text;
    text << in.rdbuf();
    std::string problem;
    auto events = ParseScript(text.str(), &problem);
    if (!events && error) *error = path + ": " + problem;
    return events;
}

} // namespace tallyx::vprinter
