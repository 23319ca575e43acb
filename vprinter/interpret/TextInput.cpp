#include "vprinter/interpret/TextInput.h"

#include "vprinter/text/InternationalSets.h"

namespace tallyx::vprinter {

void TextInput::Take(uint8_t b)
{
    m_ctx.bandLine = false;
    if (m_gbkLead >= 0) {
        const uint8_t lead = uint8_t(m_gbkLead);
        m_gbkLead = -1;
        if (TextDecoder::IsGbkTrail(b)) {
            m_log.push_back(b);
            Print(m_decoder.Gbk(lead, b), true);
            if (m_log.size() >= kTextLogChunk) FlushLog();
            return;
        }
        Print(kUnprintable, false);
    }
    m_log.push_back(b);
    if (m_ctx.chinese && TextDecoder::IsGbkLead(b)) {
        m_gbkLead = b;
        return;
    }
    const std::string_view national = InternationalCharacter(m_ctx.internationalSet, b);
    if (!national.empty()) Print(std::string(national), false);
    else if (m_ctx.chinese && b >= 0x80) Print(kUnprintable, false);
    else Print(m_decoder.SingleByte(b, m_ctx.codePage, m_ctx.profile.numbering), false);
    if (m_log.size() >= kTextLogChunk) FlushLog();
}

void TextInput::Print(const std::string& utf8, bool wide)
{
    m_logUtf8 += utf8;
    m_ctx.layout.AddChar(utf8, wide, m_ctx.style);
}

void TextInput::FlushPendingLead()
{
    if (m_gbkLead < 0) return;
    m_gbkLead = -1;
    Print(kUnprintable, false);
}

void TextInput::FlushLog()
{
    if (m_log.empty()) return;
    Bytes bytes = std::move(m_log);
    m_log.clear();
    std::string text = std::move(m_logUtf8);
    m_logUtf8.clear();
    m_ctx.Log(bytes, {}, bytes.size(), "text", "print \"" + text + "\"");
}

} // namespace tallyx::vprinter
