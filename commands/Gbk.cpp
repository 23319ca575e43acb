// UTF-8 <-> GBK through glibc's iconv. A character that cannot be converted is replaced
// and the conversion carries on after it, so one bad character never loses the rest.
#include "commands/Gbk.h"

#include <cerrno>
#include <cstdint>
#include <iconv.h>

#include "res/Utf8.h"

namespace tallyx {
namespace {

// Bytes of the one UTF-8 character at p: the lead byte and the continuation bytes that
// follow it, at most as many as the lead byte announces (1 for a stray byte).
size_t Utf8CharacterLength(const char* p, size_t left)
{
    const unsigned char lead = uint8_t(p[0]);
    size_t length = 1;
    if (lead >= 0xF0 && lead <= 0xF4) length = 4;
    else if (lead >= 0xE0 && lead <= 0xEF) length = 3;
    else if (lead >= 0xC2 && lead <= 0xDF) length = 2;
    size_t n = 1;
    while (n < length && n < left && (uint8_t(p[n]) & 0xC0) == 0x80) ++n;
    return n;
}

class Converter {
public:
    Converter(const char* to, const char* from) : m_cd(iconv_open(to, from)) {}
    ~Converter()
    {
        if (m_cd != iconv_t(-1)) iconv_close(m_cd);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // skip(in, left) says how many input bytes an unconvertible character takes (at least 1).
    template <typename Skip>
    std::string Run(std::string_view input, std::string_view replacement, Skip skip)
    {
        return RunWith(input, skip, [&](std::string_view) { return std::string(replacement); });
    }

    // The same, with the replacement made from the bytes it replaces.
    template <typename Skip, typename Replace>
    std::string RunWith(std::string_view input, Skip skip, Replace replace)
    {
        std::string out;
        if (m_cd == iconv_t(-1)) return out;
        char* in = const_cast<char*>(input.data());
        size_t inLeft = input.size();
        char buffer[4096];
        while (inLeft > 0) {
            char* outPtr = buffer;
            size_t outLeft = sizeof buffer;
            const size_t rc = iconv(m_cd, &in, &inLeft, &outPtr, &outLeft);
            out.append(buffer, outPtr);
            if (rc != size_t(-1)) continue;
            if (errno == E2BIG) continue;
            // EILSEQ (not convertible) or EINVAL (cut short at the end): replace and go on.
            const size_t n = errno == EINVAL ? inLeft : skip(in, inLeft);
            out += replace(std::string_view(in, n));
            in += n;
            inLeft -= n;
            iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        }
        return out;
    }

private:
    iconv_t m_cd;
};

} // namespace

std::string WithCrLf(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) out += '\r';
        out += text[i];
    }
    return out;
}

std::string Utf8ToGbk(std::string_view utf8)
{
    Converter converter("GBK", "UTF-8");
    return converter.Run(utf8, "?", Utf8CharacterLength);
}

namespace {
constexpr char32_t kLoneCr = 0x240D;     // SYMBOL FOR CARRIAGE RETURN
constexpr char32_t kLoneLf = 0x240A;     // SYMBOL FOR LINE FEED
constexpr char32_t kRawByte = 0xF700;    // private use: U+F700 + byte

// The code point of a three-byte UTF-8 character at p, or 0.
char32_t ThreeByteCodePoint(std::string_view s, size_t i)
{
    if (i + 2 >= s.size() || (uint8_t(s[i]) & 0xF0) != 0xE0) return 0;
    return char32_t(uint8_t(s[i]) & 0x0F) << 12 | char32_t(uint8_t(s[i + 1]) & 0x3F) << 6 |
           char32_t(uint8_t(s[i + 2]) & 0x3F);
}
} // namespace

std::string BoxTextFromBytes(std::string_view gbk)
{
    Converter converter("UTF-8", "GBK");
    const auto decode = [&](std::string_view run) {
        return converter.RunWith(run, [](const char*, size_t) { return size_t(1); }, [](std::string_view bad) {
            std::string marks;
            for (char b : bad) AppendUtf8(marks, kRawByte + uint8_t(b));
            return marks;
        });
    };
    std::string out;
    size_t start = 0;
    for (size_t i = 0; i < gbk.size(); ++i) {
        if (gbk[i] != '\r' && gbk[i] != '\n') continue;
        out += decode(gbk.substr(start, i - start));
        if (gbk[i] == '\r' && i + 1 < gbk.size() && gbk[i + 1] == '\n') {
            out += '\n';
            ++i;
        } else {
            AppendUtf8(out, gbk[i] == '\r' ? kLoneCr : kLoneLf);
        }
        start = i + 1;
    }
    return out + decode(gbk.substr(start));
}

std::string BytesFromBoxText(std::string_view utf8)
{
    std::string out;
    size_t start = 0;
    const auto flush = [&](size_t end) { out += Utf8ToGbk(utf8.substr(start, end - start)); };
    for (size_t i = 0; i < utf8.size();) {
        const char32_t c = ThreeByteCodePoint(utf8, i);
        const bool mark = c == kLoneCr || c == kLoneLf || (c >= kRawByte && c <= kRawByte + 0xFF);
        if (utf8[i] != '\n' && !mark) {
            ++i;
            continue;
        }
        flush(i);
        if (utf8[i] == '\n') out += "\r\n";
        else if (c == kLoneCr) out += '\r';
        else if (c == kLoneLf) out += '\n';
        else out += char(c - kRawByte);
        i += utf8[i] == '\n' ? 1 : 3;
        start = i;
    }
    flush(utf8.size());
    return out;
}

std::string GbkToUtf8(std::string_view gbk)
{
    Converter converter("UTF-8", "GBK");
    return converter.Run(gbk, "\xEF\xBF\xBD", [](const char*, size_t) { return size_t(1); });
}

} // namespace tallyx
