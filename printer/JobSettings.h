#pragma once
// The receipt settings a printer keeps as defaults and a job may override: their IPP names,
// the keywords each accepts, and the options they come to.
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "commands/ReceiptJob.h"

namespace tallyx::printer {

// The texts are string literals: a view's data ends in a NUL, for PAPPL.
struct JobSetting {
    std::string_view name;           // NAME, NAME-default, NAME-supported
    std::string_view label;          // on the web page
    std::string_view defaultValue;
    std::span<const std::string_view> values;
};

std::span<const JobSetting> JobSettings();

// The web page's English texts for the settings and their values (PAPPL's .strings form).
std::string SettingStrings();

// The options a job's values come to; `value(name)` is the job's keyword or its printer's
// default. A keyword a setting does not know leaves that setting at its default.
ReceiptOptions ReadJobSettings(const std::function<std::optional<std::string>(std::string_view)>& value);

} // namespace tallyx::printer
