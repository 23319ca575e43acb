// UTF-8 <-> GBK through glibc's iconv. A character that cannot be converted is replaced
// and the conversion carries on after it, so one bad character never loses the rest.
#include "commands/Gbk.h"

#include <cerrno>
#include <iconv.h>

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
            out += replacement;
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

std::string Utf8ToGbk(std::string_view utf8)
{
    Converter converter("GBK", "UTF-8");
    return converter.Run(utf8, "?", Utf8CharacterLength);
}

std::string GbkToUtf8(std::string_view gbk)
{
    Converter converter("UTF-8", "GBK");
    return converter.Run(gbk, "\xEF\xBF\xBD", [](const char*, size_t) { return size_t(1); });
}

} // namespace tallyx
