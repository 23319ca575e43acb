#pragma once
// Runs tallyx-cli in-process and keeps what it printed.
#include <sstream>
#include <string>
#include <vector>

#include "cli/RunCli.h"

namespace tallyx::test {

struct CliRun {
    int status = -1;
    std::string out;
    std::string err;
};

inline CliRun RunCliWith(Platform& platform, const std::vector<std::string>& args, const std::string& stdinText = {})
{
    std::istringstream in(stdinText);
    std::ostringstream out, err;
    CliRun run;
    run.status = cli::RunCli(args, platform, in, out, err);
    run.out = out.str();
    run.err = err.str();
    return run;
}

inline std::string Join(const std::vector<std::string>& args)
{
    std::string s;
    for (const std::string& a : args) s += (s.empty() ? "" : " ") + a;
    return s;
}

} // namespace tallyx::test
