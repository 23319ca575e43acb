#pragma once
// A test's faults in time: a script of events, one a line, "WHEN ACTION", "#" starting a
// comment. WHEN is receipt:N (after the Nth receipt) or time:S (S seconds after start).
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "vprinter/device/DeviceStatus.h"

namespace tallyx::vprinter {

enum class ScriptAction { Condition, Ready, Silent, Answer, Close, Rate };

struct ScriptEvent {
    int line = 0;
    std::string text;              // the line as written, for the log
    bool afterReceipt = false;     // true: receipt:N, false: time:S
    int receipt = 0;
    double seconds = 0;
    ScriptAction action = ScriptAction::Ready;
    bool DeviceStatus::*condition = nullptr;   // ScriptAction::Condition
    int64_t rate = 0;                          // ScriptAction::Rate: bytes a second
};

// The events in the order written; nullopt with `error` naming the first bad line.
std::optional<std::vector<ScriptEvent>> ParseScript(std::string_view text, std::string* error);
// ParseScript of a file, or the reason it cannot be read.
std::optional<std::vector<ScriptEvent>> LoadScript(const std::string& path, std::string* error);

} // namespace tallyx::vprinter
