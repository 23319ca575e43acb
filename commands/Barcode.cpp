// Each symbology is one row: its length rule, its character rule, its messages.
#include "commands/Barcode.h"

#include <optional>

#include "res/SymbolChoices.h"
#include "res/Messages.h"

namespace tallyx {
namespace {

// The 44 Code 39 characters (only their presence matters here).
constexpr std::string_view kCode39Chars = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-. $/+%*";
// Codabar characters in value order: digits 0..9, then 10..15, then the start/stop A..D.
constexpr std::string_view kCodabarChars = "0123456789-$:/.+ABCD";
constexpr int kCodabarInvalid = 20;
constexpr int kCodabarFirstStartStop = 16;
// Code 93 characters in value order.
constexpr std::string_view kCode93Chars = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-. $/+%";
constexpr int kCode93Invalid = 49;

enum class Chars { Digits, Code39, Codabar, Code93, Any };

struct SymbologyRule {
    Symbology symbology;
    size_t minLength;        // the fixed-length codes: this many leading characters are tested,
    size_t maxLength;        // one more may follow untested
    Chars chars;
    std::string_view lengthMessage;
    std::string_view hint;
};

constexpr SymbologyRule kRules[] = {
    {Symbology::UpcA, 11, 12, Chars::Digits, kMsgUpcALength, kHintUpcA},
    {Symbology::UpcE, 6, 7, Chars::Digits, kMsgUpcELength, kHintUpcE},
    {Symbology::Ean13, 12, 13, Chars::Digits, kMsgEan13Length, kHintEan13},
    {Symbology::Jan8, 7, 8, Chars::Digits, kMsgJan8Length, kHintJan8},
    {Symbology::Code39, 1, kBarcodeMaxBytes, Chars::Code39, {}, kHintCode39},
    {Symbology::Itf, 1, kBarcodeMaxBytes, Chars::Digits, {}, kHintItf},
    {Symbology::Codabar, 1, kBarcodeMaxBytes, Chars::Codabar, {}, kHintCodabar},
    {Symbology::Code93, 1, kBarcodeMaxBytes, Chars::Code93, {}, kHintCode93},
    {Symbology::Code128, 1, kBarcodeMaxBytes, Chars::Any, {}, kHintCode128},
};

const SymbologyRule* RuleFor(uint8_t symbology)
{
    return FindRow(kRules, &SymbologyRule::symbology, Symbology(symbology));
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int ValueIn(std::string_view table, char c, int invalid)
{
    const size_t at = table.find(c);
    return at == std::string_view::npos ? invalid : int(at);
}

bool IsCodabarStartStop(char c) { return CodabarValue(c) >= kCodabarFirstStartStop && CodabarValue(c) < kCodabarInvalid; }

// The characters from the first to the last; the first fault found is the answer.
std::optional<Message> CheckCharacters(const SymbologyRule& rule, std::string_view data)
{
    // The fixed-length codes test their minimum length only; longer codes test all.
    const size_t tested = rule.maxLength == kBarcodeMaxBytes ? data.size() : rule.minLength;
    for (size_t i = 0; i < tested; ++i) {
        const char c = data[i];
        switch (rule.chars) {
        case Chars::Digits:
            if (!IsDigit(c)) return Message{kCaptionBarCode, kMsgBarcodeNotDigit};
            break;
        case Chars::Code39:
            if (!IsCode39Char(c)) return Message{kCaptionBarCode, kMsgBarcodeUnsupported};
            break;
        case Chars::Code93:
            if (Code93Value(c) == kCode93Invalid) return Message{kCaptionBarCode, kMsgBarcodeUnsupported};
            break;
        case Chars::Codabar:
            if (i == 0 || i + 1 == data.size()) {
                if (!IsCodabarStartStop(c)) return Message{kCaptionBarCode, kMsgCodabarStartStop};
            } else if (CodabarValue(c) == kCodabarInvalid) {
                return Message{kCaptionBarCode, kMsgBarcodeUnsupported};
            }
            break;
        case Chars::Any:
            break;
        }
    }
    return std::nullopt;
}

// A 32-bit entry read without its sign, as the printer's range checks read it.
uint64_t Unsigned(int64_t v) { return uint64_t(v); }

} // namespace

bool IsCode39Char(char c) { return kCode39Chars.find(c) != std::string_view::npos; }
int CodabarValue(char c) { return ValueIn(kCodabarChars, c, kCodabarInvalid); }
int Code93Value(char c) { return ValueIn(kCode93Chars, c, kCode93Invalid); }

BarcodeParams CorrectBarcodeNumbers(BarcodeParams p)
{
    constexpr int64_t kHeightFallback = 162;
    if (Unsigned(p.height) <= 10 || Unsigned(p.height) >= 256) p.height = kHeightFallback;
    if (Unsigned(p.width) <= 1) p.width = 1;
    else if (Unsigned(p.width) >= 8) p.width = 8;
    p.leftMargin = int64_t(Unsigned(p.leftMargin) & 0xFF);
    return p;
}

std::string_view SymbologyHint(uint8_t symbology)
{
    const SymbologyRule* rule = RuleFor(symbology);
    return rule ? rule->hint : std::string_view();
}

Result BuildBarcodeCommand(const BarcodeParams& entered, std::string_view data)
{
    if (data.size() > kBarcodeMaxBytes) return Message{kCaptionBarCode, kMsgBarcodeTooMuchData};
    if (data.empty()) return Message{kCaptionBarCode, kMsgBarcodeEnterData};
    const BarcodeParams p = CorrectBarcodeNumbers(entered);
    const SymbologyRule* rule = RuleFor(p.symbology);
    if (!rule) return Bytes{};
    if (data.size() < rule->minLength || data.size() > rule->maxLength)
        return Message{kCaptionBarCode, rule->lengthMessage};
    if (auto fault = CheckCharacters(*rule, data)) return *fault;

    Bytes out{
        0x1D, 0x48, p.hriPosition,              // GS H  readable line position
        0x1D, 0x66, p.hriFont,                  // GS f  readable line font
        0x1D, 0x68, uint8_t(p.height),          // GS h  bar height
        0x1D, 0x77, uint8_t(p.width),           // GS w  module width
        0x1D, 0x78, uint8_t(p.leftMargin),      // GS x  left margin
        0x1D, 0x6B, p.symbology, uint8_t(data.size()),
    };
    out.insert(out.end(), data.begin(), data.end());
    return out;
}

} // namespace tallyx
