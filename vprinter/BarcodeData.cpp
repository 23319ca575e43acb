#include "vprinter/BarcodeData.h"

#include <algorithm>

namespace tallyx::vprinter {

namespace {

using K = SymbolKind;

constexpr BarcodeSymbology kSymbologies[] = {
    {0, 65, "UPC-A", K::UpcA},    {1, 66, "UPC-E", K::UpcE},  {2, 67, "EAN13", K::Ean13},
    {3, 68, "EAN8", K::Ean8},     {4, 69, "CODE39", K::Code39}, {5, 70, "ITF", K::Itf},
    {6, 71, "CODABAR", K::Codabar}, {0xFF, 72, "CODE93", K::Code93}, {0xFF, 73, "CODE128", K::Code128},
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
    case K::UpcA: return Gtin(d, 11);
    case K::Ean13: return Gtin(d, 12);
    case K::Ean8: return Gtin(d, 7);
    case K::UpcE:
        if (d.size() < 6 || d.size() > 8) in.fault = "takes 6 to 8 digits, got " + std::to_string(d.size());
        else in.fault = NotDigit(d);
        if (in.fault.empty()) in.data = d;
        return in;
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
