// QR Code and PDF417 share the frame of every block and the content checks; they differ in
// the function group, the set-up blocks and nothing else.
#include "commands/TwoDim.h"

#include <initializer_list>
#include <optional>
#include <span>
#include <string>

#include "res/SymbolChoices.h"
#include "res/Messages.h"

namespace tallyx {
namespace {

// The cn of every block: a type of its own so it cannot trade places with fn.
enum class Group : uint8_t { Pdf417 = 0x30, Qr = 0x31 };
constexpr uint8_t kStoreData = 0x50;
constexpr uint8_t kPrintSymbol = 0x51;
constexpr uint8_t kAsciiZero = 0x30;   // the m of store and print

// GS ( k pL pH cn fn params: pL pH count cn, fn and the parameters, little-endian.
void AppendGsParenK(Bytes& out, Group cn, uint8_t fn, std::string_view params)
{
    const size_t k = params.size() + 2;
    out.insert(out.end(), {0x1D, 0x28, 0x6B, uint8_t(k & 0xFF), uint8_t(k >> 8), uint8_t(cn), fn});
    out.insert(out.end(), params.begin(), params.end());
}

void AppendGsParenK(Bytes& out, Group cn, uint8_t fn, std::initializer_list<uint8_t> params)
{
    const std::string bytes(params.begin(), params.end());
    AppendGsParenK(out, cn, fn, std::string_view(bytes));
}

std::optional<Message> CheckContent(std::string_view content, std::string_view caption)
{
    if (content.size() > kSymbolMaxBytes) return Message{caption, kMsgInputTooLong};
    if (content.empty()) return Message{caption, kMsgInputNull};
    return std::nullopt;
}

// Store the content, centre, print the stored symbol, back to the left.
void AppendStoreAndPrint(Bytes& out, Group group, std::string_view content)
{
    std::string store(1, char(kAsciiZero));
    store += content;
    AppendGsParenK(out, group, kStoreData, std::string_view(store));
    out.insert(out.end(), {0x1B, 0x61, 0x31});   // ESC a "1": centre
    AppendGsParenK(out, group, kPrintSymbol, {kAsciiZero});
    out.insert(out.end(), {0x1B, 0x61, 0x30});   // ESC a "0": left
}

uint8_t ChoiceByte(std::span<const Choice> choices, std::string_view item, uint8_t otherwise)
{
    const Choice* c = FindChoice(choices, item);
    return c ? c->byte : otherwise;
}

bool IsCBlank(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

} // namespace

Result BuildQrCommand(const QrParams& p, std::string_view content)
{
    if (auto fault = CheckContent(content, kCaptionQr)) return *fault;
    Bytes out;
    out.reserve(38 + content.size());
    AppendGsParenK(out, Group::Qr, 0x43, {p.moduleSize});   // module size
    AppendGsParenK(out, Group::Qr, 0x45, {p.ecc});          // error correction level
    AppendStoreAndPrint(out, Group::Qr, content);
    return out;
}

Result BuildPdf417Command(const Pdf417Params& p, std::string_view content)
{
    if (auto fault = CheckContent(content, kCaptionPdf417)) return *fault;
    Bytes out;
    out.reserve(71 + content.size());
    AppendGsParenK(out, Group::Pdf417, 0x41, {p.columns});
    AppendGsParenK(out, Group::Pdf417, 0x42, {p.rows});
    AppendGsParenK(out, Group::Pdf417, 0x43, {p.moduleWidth});
    AppendGsParenK(out, Group::Pdf417, 0x44, {p.rowHeight});
    AppendGsParenK(out, Group::Pdf417, 0x46, {p.options});
    AppendGsParenK(out, Group::Pdf417, 0x45, {p.correctionMode, p.correction});
    AppendStoreAndPrint(out, Group::Pdf417, content);
    return out;
}

uint8_t LeadingNumberByte(std::string_view text)
{
    size_t i = 0;
    while (i < text.size() && IsCBlank(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    // Only the low eight bits are sent, so they are all that is kept.
    uint8_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) value = uint8_t(value * 10 + (text[i] - '0'));
    return negative ? uint8_t(-value) : value;
}

Pdf417Params ReadPdf417Texts(const Pdf417Texts& t)
{
    using namespace pdf417;
    Pdf417Params p;
    p.columns = LeadingNumberByte(t.columns);
    p.rows = LeadingNumberByte(t.rows);
    p.moduleWidth = LeadingNumberByte(t.moduleWidth);
    p.rowHeight = LeadingNumberByte(t.rowHeight);
    p.options = ChoiceByte(kOptions, t.options, kOptions[0].byte);
    const Choice& ratioMode = kCorrectionModes[1];
    if (t.correctionMode == ratioMode.item) {
        p.correctionMode = ratioMode.byte;
        p.correction = LeadingNumberByte(t.ratio);
    } else {
        p.correctionMode = kCorrectionModes[0].byte;
        p.correction = ChoiceByte(kLevels, t.level, kLevels[kLevelDefault].byte);
    }
    return p;
}

} // namespace tallyx
