// Barcodes, QR codes and PDF417 symbols on the command line: the three symbol dialogs'
// bytes and messages, their choices given by the items of the dialogs' lists.
#include <CLI/CLI.hpp>

#include <istream>
#include <memory>
#include <span>

#include "cli/ChoiceArgs.h"
#include "cli/CliCommands.h"
#include "cli/CliContext.h"
#include "cli/CliTexts.h"
#include "commands/Barcode.h"
#include "commands/Gbk.h"
#include "commands/TwoDim.h"
#include "res/SymbolChoices.h"

namespace tallyx::cli {
namespace {

// The byte of an accepted value (the option's check let nothing else through).
uint8_t ByteOf(std::span<const Choice> choices, std::string_view value)
{
    const Choice* c = FindChoice(choices, ItemOf(choices, value));
    return c ? c->byte : 0;
}

CLI::Option* AddChoice(CLI::App* sub, const std::string& name, std::string& value, std::span<const Choice> choices,
                       const std::string& what)
{
    return sub->add_option(name, value, what + ": " + Listed(choices))->check(CLI::IsMember(Accepted(choices)));
}

std::string TwoDigits(int n) { return (n < 10 ? "0" : "") + std::to_string(n); }

// The text of item `position` of a list of two-digit numbers.
std::string NumberItem(std::span<const pdf417::NumberRun> runs, int position)
{
    for (const pdf417::NumberRun& run : runs) {
        if (position <= run.last - run.first) return TwoDigits(run.first + position);
        position -= run.last - run.first + 1;
    }
    return {};
}

// Every UTF-8 character becomes at least one GBK byte from every four input bytes, so a
// longer input is refused by the length check whatever follows: the rest is not read.
constexpr size_t kStdinReadLimit = 4 * (kSymbolMaxBytes + 1);

// DATA, or standard input for "-", as GBK bytes; line breaks are sent as they come, or
// each as CR LF (what the dialogs' edit boxes hold) with crlf.
bool ReadContent(CliContext& ctx, const std::string& data, bool crlf, std::string& gbk)
{
    std::string utf8 = data;
    if (data == "-") {
        utf8.clear();
        char buffer[4096];
        while (utf8.size() < kStdinReadLimit && ctx.In().read(buffer, sizeof buffer).gcount() > 0)
            utf8.append(buffer, size_t(ctx.In().gcount()));
        if (ctx.In().bad()) return false;
    }
    gbk = Utf8ToGbk(crlf ? WithCrLf(utf8) : utf8);
    return true;
}

int SendResult(CliContext& ctx, const Result& result)
{
    if (const Message* refusal = result.refusal()) return ctx.Refuse(*refusal);
    return ctx.Send(result.bytes());
}

struct BarcodeArgs {
    std::string type;
    std::string hri{barcode::kHriPositions[barcode::kHriPositionDefault].item};
    std::string font{barcode::kHriFonts[barcode::kHriFontDefault].item};
    int64_t height = barcode::kHeightDefault;
    int64_t width = barcode::kWidthDefault;
    int64_t margin = barcode::kMarginDefault;
    std::string data;
};

void RegisterBarcode(CLI::App& app, CliContext& ctx)
{
    auto args = std::make_shared<BarcodeArgs>();
    CLI::App* sub = app.add_subcommand("barcode", "print a one-dimensional barcode (GS H, f, h, w, x, k): the 一维码 dialog");
    AddChoice(sub, "--type", args->type, barcode::kSymbologies, "the symbology")->required();
    AddChoice(sub, "--hri", args->hri, barcode::kHriPositions, "where the readable line goes")
        ->capture_default_str();
    AddChoice(sub, "--hri-font", args->font, barcode::kHriFonts, "the readable line's font")->capture_default_str();
    sub->add_option("--height", args->height, "bar height in dots; outside 11..255 it becomes 162")->capture_default_str();
    sub->add_option("--width", args->width, "module width; held to 1..8")->capture_default_str();
    sub->add_option("--margin", args->margin, "left margin; its low eight bits are sent")->capture_default_str();
    sub->add_option("DATA", args->data, "the data (UTF-8, sent as GBK bytes; at most 255 bytes)")->required();
    OnRun(sub, ctx, [&ctx, args] {
        const BarcodeParams params{
            ByteOf(barcode::kHriPositions, args->hri),
            ByteOf(barcode::kHriFonts, args->font),
            ByteOf(barcode::kSymbologies, args->type),
            args->height, args->width, args->margin,
        };
        return SendResult(ctx, BuildBarcodeCommand(params, Utf8ToGbk(args->data)));
    });
}

// The content of a two-dimensional symbol.
struct SymbolContent {
    std::string data;
    bool crlf = false;
};

void AddContent(CLI::App* sub, SymbolContent& content)
{
    sub->add_option("DATA", content.data,
                    "the content (UTF-8, sent as GBK bytes; 1 to 500 bytes), or - for standard input, whose bytes "
                    "are sent as given (LF stays LF; a trailing newline is data)")
        ->required();
    sub->add_flag("--crlf", content.crlf, "send each line break as CR LF, as the dialog does");
}

struct QrArgs : SymbolContent {
    std::string size{qr::kModuleSizes[qr::kModuleSizeDefault].item};
    std::string ecc{qr::kEccLevels[qr::kEccDefault].item};
};

void RegisterQr(CLI::App& app, CliContext& ctx)
{
    auto args = std::make_shared<QrArgs>();
    CLI::App* sub = app.add_subcommand("qr", "print a QR Code symbol, centred (GS ( k): the 二维码 dialog");
    AddChoice(sub, "--size", args->size, qr::kModuleSizes, "module size")->capture_default_str();
    AddChoice(sub, "--ecc", args->ecc, qr::kEccLevels, "error-correction level")->capture_default_str();
    AddContent(sub, *args);
    OnRun(sub, ctx, [&ctx, args] {
        std::string content;
        if (!ReadContent(ctx, args->data, args->crlf, content)) return ctx.Fail(kTextStdinFailed);
        const QrParams params{ByteOf(qr::kModuleSizes, args->size), ByteOf(qr::kEccLevels, args->ecc)};
        return SendResult(ctx, BuildQrCommand(params, content));
    });
}

struct Pdf417Args : SymbolContent {
    std::string columns = NumberItem(pdf417::kColumnItems, pdf417::kColumnsDefault);
    std::string rows = NumberItem(pdf417::kRowItems, pdf417::kRowsDefault);
    std::string moduleWidth = NumberItem(pdf417::kModuleWidthItems, pdf417::kModuleWidthDefault);
    std::string rowHeight = NumberItem(pdf417::kRowHeightItems, pdf417::kRowHeightDefault);
    bool truncated = false;
    std::string level{pdf417::kLevels[pdf417::kLevelDefault].item};
    std::string ratio;
};

void RegisterPdf417(CLI::App& app, CliContext& ctx)
{
    auto args = std::make_shared<Pdf417Args>();
    CLI::App* sub = app.add_subcommand("pdf417", "print a PDF417 symbol, centred (GS ( k): the PDF417 dialog");
    const std::string asText = " (any text, read by its leading number as one byte)";
    sub->add_option("--columns", args->columns, "columns of the data region, 0 automatic" + asText)->capture_default_str();
    sub->add_option("--rows", args->rows, "rows, 0 automatic" + asText)->capture_default_str();
    sub->add_option("--module-width", args->moduleWidth, "module width" + asText)->capture_default_str();
    sub->add_option("--row-height", args->rowHeight, "row height" + asText)->capture_default_str();
    sub->add_flag("--truncated", args->truncated, "the truncated form instead of the standard one");
    CLI::Option* level = AddChoice(sub, "--level", args->level, pdf417::kLevels, "error-correction level")
                             ->capture_default_str();
    CLI::Option* ratio = sub->add_option("--ratio", args->ratio, "error correction as a ratio, 1 to 40" + asText);
    level->excludes(ratio);
    AddContent(sub, *args);
    OnRun(sub, ctx, [&ctx, args, ratio] {
        std::string content;
        if (!ReadContent(ctx, args->data, args->crlf, content)) return ctx.Fail(kTextStdinFailed);
        const bool byRatio = ratio->count() > 0;
        const std::string texts[] = {
            Utf8ToGbk(args->columns), Utf8ToGbk(args->rows), Utf8ToGbk(args->moduleWidth), Utf8ToGbk(args->rowHeight),
            std::string(pdf417::kOptions[args->truncated ? 1 : 0].item),
            std::string(pdf417::kCorrectionModes[byRatio ? 1 : 0].item), args->level, Utf8ToGbk(args->ratio),
        };
        const Pdf417Params params =
            ReadPdf417Texts({texts[0], texts[1], texts[2], texts[3], texts[4], texts[5], texts[6], texts[7]});
        return SendResult(ctx, BuildPdf417Command(params, content));
    });
}

} // namespace

void RegisterSymbolCommands(CLI::App& app, CliContext& ctx)
{
    RegisterBarcode(app, ctx);
    RegisterQr(app, ctx);
    RegisterPdf417(app, ctx);
}

} // namespace tallyx::cli
