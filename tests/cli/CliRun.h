#pragma once
// Runs tallyx-cli in-process and keeps what it printed.
#include <functional>
#include <gtest/gtest.h>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "cli/RunCli.h"
#include "tests/support/RecordingPlatform.h"

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

// A command line, what it must give back, and its standard input.
struct CliRow {
    std::vector<std::string> args;
    int status;
    std::string out;
    std::string err;
    std::string stdinText = {};
};

// What one command line must give back. No `err` leaves a usage text (CLI11's) unchecked;
// refused input and dry runs never open the port.
struct CliExpected {
    int status;
    std::string out;
    std::optional<std::string> err;
    bool portUntouched = true;
};

// Runs `args` on a fresh recording platform, first handed to `setUp`, and checks the outcome.
inline void ExpectCli(const std::vector<std::string>& args, const CliExpected& expected,
                      const std::string& stdinText = {}, const std::function<void(RecordingPlatform&)>& setUp = {})
{
    RecordingPlatform platform;
    if (setUp) setUp(platform);
    const CliRun run = RunCliWith(platform, args, stdinText);
    EXPECT_EQ(run.status, expected.status);
    EXPECT_EQ(run.out, expected.out);
    if (expected.err) {
        EXPECT_EQ(run.err, *expected.err);
    }
    if (expected.portUntouched) {
        EXPECT_TRUE(platform.calls.empty());
    }
}

// Each row run on its own recording platform: status, both outputs (no usage text) and an
// untouched port.
inline void ExpectCliRows(const std::vector<CliRow>& rows)
{
    for (const CliRow& row : rows) {
        SCOPED_TRACE(Join(row.args));
        const auto err = row.status == 64 ? std::nullopt : std::optional(row.err);   // usage texts are CLI11's
        ExpectCli(row.args, {row.status, row.out, err}, row.stdinText);
    }
}

inline std::vector<std::string> With(std::vector<std::string> front, const std::vector<std::string>& args)
{
    front.insert(front.end(), args.begin(), args.end());
    return front;
}

// A command line and the one thing it must print: standard output when it runs, standard
// error when it is refused.
struct PrintRow {
    std::vector<std::string> args;
    std::string printed;
};

// Each row's arguments after `front`, on a fresh recording platform whose port stays
// untouched; status 0 prints on standard output only, any other on standard error only.
inline void ExpectPrinted(const std::vector<PrintRow>& rows, const std::vector<std::string>& front = {"--dry-run"},
                          int status = 0)
{
    for (const PrintRow& row : rows) {
        SCOPED_TRACE(Join(front) + " " + Join(row.args));
        ExpectCli(With(front, row.args),
                  status == 0 ? CliExpected{0, row.printed, ""} : CliExpected{status, "", row.printed});
    }
}

} // namespace tallyx::test
