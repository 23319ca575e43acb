#include "cli/ChoiceArgs.h"

namespace tallyx::cli {

std::vector<std::string> Accepted(std::span<const Choice> choices)
{
    std::vector<std::string> values;
    for (const Choice& c : choices) values.emplace_back(c.item);
    for (const Choice& c : choices)
        if (!c.alias.empty()) values.emplace_back(c.alias);
    return values;
}

std::string Listed(std::span<const Choice> choices)
{
    std::string text;
    for (const Choice& c : choices) {
        text += (text.empty() ? "" : ", ") + std::string(c.item);
        if (!c.alias.empty()) text += " (" + std::string(c.alias) + ")";
    }
    return text;
}

std::string_view ItemOf(std::span<const Choice> choices, std::string_view value)
{
    for (const Choice& c : choices)
        if (!c.alias.empty() && c.alias == value) return c.item;
    return value;
}

} // namespace tallyx::cli
