// The print-test box on the command line: a text (or its hexadecimal form), sent N times.
#include <CLI/CLI.hpp>

#include <istream>
#include <iterator>
#include <memory>

#include "cli/CliCommands.h"
#include "cli/CliContext.h"
#include "cli/CliTexts.h"
#include "commands/Gbk.h"
#include "commands/PrintTest.h"

namespace tallyx::cli {
namespace {

struct TextArgs {
    bool hex = false;
    uint32_t count = 1;
    std::string text;
};

// Every UTF-8 character becomes at least one GBK byte from every four input bytes, so
// a longer input is refused by the length check whatever follows: the rest is not read.
constexpr size_t kStdinReadLimit = 4 * (kPrintTestMaxBytes + 1);

bool ReadInput(std::istream& in, std::string& text)
{
    text.clear();
    char buffer[4096];
    while (text.size() < kStdinReadLimit && in.read(buffer, sizeof buffer).gcount() > 0)
        text.append(buffer, size_t(in.gcount()));
    return !in.bad();
}

int SendText(CliContext& ctx, const TextArgs& args)
{
    std::string utf8 = args.text;
    if (utf8 == "-" && !ReadInput(ctx.In(), utf8)) return ctx.Fail(kTextStdinFailed);
    const Result result = BuildPrintTestCommand(Utf8ToGbk(utf8), args.hex);
    if (const Message* refusal = result.refusal()) return ctx.Refuse(*refusal);
    return ctx.SendRepeated(result.bytes(), args.count);
}

} // namespace

void RegisterTextCommand(CLI::App& app, CliContext& ctx)
{
    auto args = std::make_shared<TextArgs>();
    CLI::App* sub = app.add_subcommand("text", "the print-test box: print a text, or send bytes given in hexadecimal");
    sub->add_flag("--hex", args->hex,
                  "read TEXT as hexadecimal bytes the way the HEX box does (\"1B 40 0A\", \"1b400a\")");
    sub->add_option("--count", args->count, "how many times to send it (0 sends nothing)")->capture_default_str();
    sub->add_option("TEXT", args->text,
                    "the text (UTF-8, sent as GBK bytes; at most 24574 bytes), or - for standard input")
        ->required();
    OnRun(sub, ctx, [&ctx, args] { return SendText(ctx, *args); });
}

} // namespace tallyx::cli
