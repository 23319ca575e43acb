#include "vprinter/symbols/BarcodeData.h"

#include <algorithm>

namespace tallyx::vprinter {

namespace {

using K = SymbolKind;

constexpr BarcodeSymbology kSymbologies[] = {
    {0, 65, "UPC-A", K::UpcA},    {1, 66, "UPC-E", K::UpcE},  {2, 67, "EAN13", K::Ean13},
    {3, 68, "EAN8", K::Ean8},     {4, 69, "CODE39", K::Code39}, {5, 70, "ITF", K::Itf},
    {6, 71, "CODABAR", K::Codabar}, {0xFF, 72, "CODE93", K::Code93}, {0xFF, 73, "CODE128", K::Code128},
    {0xFF, 74, "GS1-128", K::Gs1_128}, {0xFF, 75, "GS1 DATABAR OMNIDIRECTIONAL", K::DataBarOmni},
    {0xFF, 76, "GS1 DATABAR TRUNCATED", K::DataBarTruncated}, {0xFF, 77, "GS1 DATABAR LIMITED", K::DataBarLimited},
    {0xFF, 78, "GS1 DATABAR EXPANDED", K::DataBarExpanded},
};

constexpr std::string_view kCode39Chars = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ -.$/+%";
constexpr std::string_view kCodabarInner = "0123456789-$:/.+";
constexpr std::string_view kCodabarEnds = "ABCD";

// A byte as the log shows it: the character when printable, else its hex value.
std::string Shown(uint8_t b)
{
    if (b >= 0x20 && b < 0x7F) return std::string("'") + char(b) + "'";
    static constexpr char kHex[] = "0123456789ABCDEF";
    return std::string("byte ") + kHex[b >> 4] + kHex[b & 0x0F];
}

bool In(std::string_view set, uint8_t b) { return b != 0 && set.find(char(b)) != std::string_view::npos; }

std::string NotDigit(const Bytes& d)
{
    for (uint8_t b : d)
        if (b < '0' || b > '9') return Shown(b) + " is not a digit";
    return "";
}

// UPC-A, EAN-13, EAN-8: `bare` digits, or one more that must be their check digit.
BarcodeInput Gtin(const Bytes& d, size_t bare)
{
    BarcodeInput in;
    if (d.size() != bare && d.size() != bare + 1) {
        in.fault = "takes " + std::to_string(bare) + " or " + std::to_string(bare + 1) + " digits, got " +
                   std::to_string(d.size());
        return in;
    }
    if (in.fault = NotDigit(d); !in.fault.empty()) return in;
    const std::string digits(d.begin(), d.begin() + long(bare));
    const char check = GtinCheckDigit(digits);
    if (d.size() == bare + 1 && char(d.back()) != check) {
        in.fault = std::string("check digit ") + char(d.back()) + " should be " + check;
        return in;
    }
    if (d.size() == bare) in.note = std::string("check digit ") + check + " added";
    in.data.assign(digits.begin(), digits.end());
    return in;
}

// UPC-E: its 6 digits (with the number system in front, 7; and the check digit, 8), or the
// UPC-A number of 11 or 12 digits it is the short form of.
BarcodeInput UpcE(const Bytes& d)
{
    BarcodeInput in;
    if (d.size() < 6 || (d.size() > 8 && d.size() < 11) || d.size() > 12) {
        in.fault = "takes 6 to 8, 11 or 12 digits, got " + std::to_string(d.size());
        return in;
    }
    if (in.fault = NotDigit(d); !in.fault.empty()) return in;
    if (d.size() <= 8) {
        in.data = d;
        return in;
    }
    in = Gtin(d, 11);
    if (!in.fault.empty()) return in;
    const std::string a(in.data.begin(), in.data.end());   // number system, 5 maker, 5 product digits
    const std::string maker = a.substr(1, 5), item = a.substr(6, 5);
    std::string e;   // the six digits of the short form; only number systems 0 and 1 have one
    if (a[0] == '0' || a[0] == '1') {
        if (maker.ends_with("00") && maker[2] <= '2' && item.starts_with("00"))
            e = maker.substr(0, 2) + item.substr(2, 3) + maker[2];
        else if (maker.ends_with("00") && item.starts_with("000")) e = maker.substr(0, 3) + item.substr(3, 2) + "3";
        else if (maker.ends_with("0") && item.starts_with("0000")) e = maker.substr(0, 4) + item[4] + "4";
        else if (!maker.ends_with("0") && item.starts_with("0000") && item[4] >= '5') e = maker + item[4];
    }
    if (e.empty()) {
        in.fault = "UPC-A number " + a + " has no UPC-E form";
        in.data.clear();
        return in;
    }
    in.note = "UPC-A number " + a + " printed in its UPC-E form";
    e.insert(e.begin(), a[0]);
    in.data.assign(e.begin(), e.end());
    return in;
}

// GS1 data as printers take it: application identifiers in parentheses (printed, not
// encoded) or the element strings one after another, {1 (FNC1) after one of variable length;
// {{ {( {) {* are those characters. `checkStar`: a '*' stands for the check digit of the
// digits before it in its element (GS1-128); otherwise '*' is skipped. The result is zint's
// bracketed form; without parentheses each element's first two digits are taken as its
// identifier and zint does not check it.
BarcodeInput Gs1(const Bytes& d, bool checkStar, bool& checked)
{
    BarcodeInput in;
    const bool parens = std::find(d.begin(), d.end(), uint8_t('(')) != d.end();
    checked = parens;
    std::string out, element;   // `element`: the data of the element being read
    bool inAi = false, ended = true;
    for (size_t i = 0; i < d.size() && in.fault.empty(); ++i) {
        uint8_t b = d[i];
        if (b == '{') {
            const uint8_t code = i + 1 < d.size() ? d[++i] : 0;
            if (code == '1') {
                if (!parens) ended = true;
                continue;
            }
            if (code != '{' && code != '(' && code != ')' && code != '*') {
                in.fault = code ? "'{" + std::string(1, char(code)) + "' is not a GS1 code" : "'{' at the end of the data";
                break;
            }
            b = code;
        } else if (parens && b == '(') {
            if (inAi) in.fault = "'(' inside an application identifier";
            inAi = true;
            out += '[';
            element.clear();
            continue;
        } else if (parens && b == ')') {
            if (!inAi) in.fault = "')' without its '('";
            inAi = false;
            out += ']';
            continue;
        } else if (b == '*') {
            if (!checkStar) continue;
            if (element.empty() || NotDigit(Bytes(element.begin(), element.end())) != "") {
                in.fault = "'*' does not follow the digits of a check digit";
                break;
            }
            b = uint8_t(GtinCheckDigit(element));
        }
        if (b < 0x20 || b >= 0x7F) {
            in.fault = Shown(b) + " is not a GS1 character";
            break;
        }
        if (parens && out.empty()) {
            in.fault = "data before the first application identifier";
            break;
        }
        if (!parens && ended) {
            if (i + 2 > d.size()) {
                in.fault = "an element shorter than its application identifier";
                break;
            }
            out += "[" + std::string(1, char(b)) + char(d[++i]) + "]";
            ended = false;
            element.clear();
            continue;
        }
        out += char(b);
        if (!inAi) element += char(b);
    }
    if (in.fault.empty() && inAi) in.fault = "'(' without its ')'";
    if (in.fault.empty() && out.empty()) in.fault = "no application identifier";
    if (in.fault.empty()) in.data.assign(out.begin(), out.end());
    return in;
}

// GS1 DataBar of one item number: the 13 digits of the GTIN without its check digit.
BarcodeInput DataBarGtin(const Bytes& d, bool limited)
{
    BarcodeInput in;
    if (d.size() != 13) in.fault = "takes 13 digits, got " + std::to_string(d.size());
    else in.fault = NotDigit(d);
    if (in.fault.empty() && limited && d[0] > '1') in.fault = "the first digit must be 0 or 1";
    if (in.fault.empty()) in.data = d;
    return in;
}

BarcodeInput Code39(const Bytes& d)
{
    BarcodeInput in;
    Bytes inner = d;
    // Start and stop characters may be sent; they are drawn anyway.
    if (inner.size() >= 2 && inner.front() == '*' && inner.back() == '*')
        inner = Bytes(inner.begin() + 1, inner.end() - 1);
    if (inner.empty()) in.fault = "no data between the start and stop characters";
    for (uint8_t b : inner)
        if (in.fault.empty() && !In(kCode39Chars, b)) in.fault = Shown(b) + " is not a Code 39 character";
    if (in.fault.empty()) in.data = std::move(inner);
    return in;
}

BarcodeInput Codabar(const Bytes& d)
{
    BarcodeInput in;
    if (d.size() < 2 || !In(kCodabarEnds, d.front()) || !In(kCodabarEnds, d.back())) {
        in.fault = "start and stop characters must be A to D";
        return in;
    }
    for (size_t i = 1; i + 1 < d.size(); ++i)
        if (!In(kCodabarInner, d[i])) {
            in.fault = Shown(d[i]) + " is not a Codabar character";
            return in;
        }
    in.data = d;
    return in;
}

// {A, {B and {C choose the code set, {{ is a brace, {S shifts one character, {1 to {4 are
// function codes. Code set C carries two digits per byte (values 0 to 99).
BarcodeInput Code128(const Bytes& d)
{
    BarcodeInput in;
    if (d.empty() || d[0] != '{') {
        in.data = d;
        in.note = "no code set chosen: code set B";
        return in;
    }
    char set = 'B';
    for (size_t i = 0; i < d.size(); ++i) {
        const uint8_t b = d[i];
        if (b == '{') {
            if (i + 1 == d.size()) {
                in.fault = "'{' at the end of the data";
                return in;
            }
            const uint8_t code = d[++i];
            if (code == 'A' || code == 'B' || code == 'C') set = char(code);
            else if (code == '{') in.data.push_back('{');
            else if (code == 'S' && i + 1 < d.size()) in.data.push_back(d[++i]);
            else if (code < '1' || code > '4') {
                in.fault = "'{" + std::string(1, char(code)) + "' is not a Code 128 code";
                return in;
            }
            continue;
        }
        if (set == 'C') {
            if (b > 99) {
                in.fault = Shown(b) + " is not a value of code set C (0 to 99)";
                return in;
            }
            in.data.push_back(uint8_t('0' + b / 10));
            in.data.push_back(uint8_t('0' + b % 10));
        } else if (b >= 0x80 || (set == 'B' && b < 0x20) || (set == 'A' && b >= 0x60)) {
            in.fault = Shown(b) + " is not in code set " + set;
            return in;
        } else {
            in.data.push_back(b);
        }
    }
    if (in.data.empty()) in.fault = "no data after the code set";
    return in;
}

} // namespace

const BarcodeSymbology* FindBarcodeSymbology(uint8_t m)
{
    for (const auto& s : kSymbologies)
        if (s.formA == m || s.formB == m) return &s;
    return nullptr;
}

char GtinCheckDigit(std::string_view digits)
{
    int sum = 0;
    bool three = true;   // the digit next to the check digit weighs 3
    for (auto it = digits.rbegin(); it != digits.rend(); ++it, three = !three) sum += (*it - '0') * (three ? 3 : 1);
    return char('0' + (10 - sum % 10) % 10);
}

BarcodeInput PrepareBarcodeData(SymbolKind kind, const Bytes& d)
{
    BarcodeInput in;
    switch (kind) {
    case K::Gs1_128:
    case K::DataBarExpanded:
    case K::DataBarExpandedStacked:
    {
        bool checked = true;
        in = Gs1(d, kind == K::Gs1_128, checked);
        in.gs1Checked = checked;
        return in;
    }
    case K::DataBarOmni:
    case K::DataBarTruncated:
    case K::DataBarStacked:
    case K::DataBarStackedOmni: return DataBarGtin(d, false);
    case K::DataBarLimited: return DataBarGtin(d, true);
    case K::UpcA: return Gtin(d, 11);
    case K::Ean13: return Gtin(d, 12);
    case K::Ean8: return Gtin(d, 7);
    case K::UpcE: return UpcE(d);
    case K::Itf:
        in.fault = NotDigit(d);
        if (in.fault.empty()) in.data = d;
        if (d.size() % 2) in.note = "odd number of digits: a leading 0 added";
        return in;
    case K::Code39: return Code39(d);
    case K::Codabar: return Codabar(d);
    case K::Code93:
        for (uint8_t b : d)
            if (in.fault.empty() && b >= 0x80) in.fault = Shown(b) + " is not a Code 93 character";
        if (in.fault.empty()) in.data = d;
        return in;
    case K::Code128: return Code128(d);
    default: in.fault = "not a barcode"; return in;
    }
}

} // namespace tallyx::vprinter
