#pragma once
// Bytes that are not commands: characters of the code page, or GBK pairs in Chinese mode,
// put on the open line and logged in runs.
#include "vprinter/interpret/PrintContext.h"
#include "vprinter/text/TextDecoder.h"

namespace tallyx::vprinter {

// A run of text is logged when it reaches this many bytes.
inline constexpr size_t kTextLogChunk = 256;

class TextInput {
public:
    explicit TextInput(PrintContext& ctx) : m_ctx(ctx) {}

    void Take(uint8_t b);
    // A GBK lead byte with no trail byte after it prints as one unprintable character.
    void FlushPendingLead();
    // Logs the run of text taken so far.
    void FlushLog();
    void Reset() { m_gbkLead = -1; }
    size_t HeldBytes() const { return m_log.capacity() + m_logUtf8.capacity(); }

private:
    void Print(const std::string& utf8, bool wide);

    PrintContext& m_ctx;
    TextDecoder m_decoder;
    int m_gbkLead = -1;
    Bytes m_log;
    std::string m_logUtf8;
};

} // namespace tallyx::vprinter
