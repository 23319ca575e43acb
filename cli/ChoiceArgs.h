#pragma once
// A list's items as a command-line value: each item or its alias is accepted.
#include <span>
#include <string>
#include <vector>

#include "res/Choice.h"

namespace tallyx::cli {

std::vector<std::string> Accepted(std::span<const Choice> choices);
// "item (alias), item, ..." for the help text.
std::string Listed(std::span<const Choice> choices);
// The item a value names (an alias stands for its item); other values are returned as given.
std::string_view ItemOf(std::span<const Choice> choices, std::string_view value);

} // namespace tallyx::cli
