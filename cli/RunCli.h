#pragma once
// tallyx-cli as a function, so the tests run it in-process on any platform they choose.
#include <iosfwd>
#include <string>
#include <vector>

#include "link/Platform.h"

namespace tallyx::cli {

// args: the command line without the program name. Returns the exit status.
int RunCli(const std::vector<std::string>& args, Platform& platform, std::istream& in, std::ostream& out,
           std::ostream& err);

} // namespace tallyx::cli
