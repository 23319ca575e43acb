#include "vprinter/text/TextDecoder.h"

#include <iconv.h>
#include <string_view>

#include "res/Utf8.h"
#include "vprinter/text/CodePageTables.h"
#include "vprinter/text/CodePages.h"

namespace tallyx::vprinter {

namespace {

// A byte from 80 of a page carried as data.
std::string FromTable(std::string_view table, uint8_t byte)
{
    const CodePageTable* page = FindCodePageTable(table);
    if (!page) return kNoCharacterTable;
    const uint16_t c = page->upper[byte - 0x80];
    if (c == 0xFFFD) return std::string(kUnprintable);
    std::string utf8;
    AppendUtf8(utf8, c);
    return utf8;
}

} // namespace

TextDecoder::~TextDecoder()
{
    if (m_gbk) iconv_close(iconv_t(m_gbk));
    if (m_single) iconv_close(iconv_t(m_single));
}

std::string TextDecoder::SingleByte(uint8_t byte, uint8_t codePage, CodePageNumbering numbering)
{
    if (byte >= 0x20 && byte < 0x7F) return std::string(1, char(byte));
    if (byte < 0x80) return kUnprintable;
    const char* name = CodePageCharset(codePage, numbering);
    if (!name) return kNoCharacterTable;
    if (std::string_view(name).starts_with(kTablePrefix)) return FromTable(name + kTablePrefix.size(), byte);
    if (name != m_singleName && m_single) {
        iconv_close(iconv_t(m_single));
        m_single = nullptr;
    }
    m_singleName = name;
    char in = char(byte);
    return Convert(m_single, name, &in, 1);
}

std::string TextDecoder::Gbk(uint8_t lead, uint8_t trail)
{
    if (!IsGbkLead(lead) || !IsGbkTrail(trail)) return kUnprintable;
    char in[2] = {char(lead), char(trail)};
    return Convert(m_gbk, "GBK", in, 2);
}

std::string TextDecoder::Convert(void*& handle, const char* from, const char* in, size_t n)
{
    if (!handle) {
        iconv_t cd = iconv_open("UTF-8", from);
        if (cd == iconv_t(-1)) return kUnprintable;
        handle = cd;
    }
    iconv(iconv_t(handle), nullptr, nullptr, nullptr, nullptr);   // reset shift state
    char out[16];
    char* inPtr = const_cast<char*>(in);
    char* outPtr = out;
    size_t inLeft = n, outLeft = sizeof out;
    if (iconv(iconv_t(handle), &inPtr, &inLeft, &outPtr, &outLeft) == size_t(-1) || inLeft != 0)
        return kUnprintable;
    // CP1255 and CP1258 hold a letter back for a combining mark that may follow: let it out.
    if (iconv(iconv_t(handle), nullptr, nullptr, &outPtr, &outLeft) == size_t(-1)) return kUnprintable;
    std::string text(out, size_t(outPtr - out));
    // Control pictures of some code pages are not printable either.
    if (text.empty() || static_cast<unsigned char>(text[0]) < 0x20) return kUnprintable;
    return text;
}

} // namespace tallyx::vprinter
