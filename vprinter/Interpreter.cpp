#include "vprinter/Interpreter.h"

#include <algorithm>

namespace tallyx::vprinter {

namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

uint64_t Word(const Bytes& h, size_t at)
{
    return uint64_t(h[at]) | uint64_t(h[at + 1]) << 8;
}

} // namespace

Interpreter::Interpreter(PrinterState& state, int paperDots, Hooks hooks)
    : m_state(state), m_hooks(std::move(hooks)), m_layout(paperDots)
{
    m_layout.onBlock = [this](const Block& block) {
        if (m_hooks.block) m_hooks.block(block);
    };
    m_chinese = m_state.printMode == 1;
    m_codePage = m_state.codePage;
}

void Interpreter::Feed(const uint8_t* data, size_t n, std::string_view link, const ReplyFn& reply)
{
    m_link = link;
    m_reply = &reply;
    const uint8_t* p = data;
    const uint8_t* end = data + n;
    while (p < end) {
        if (m_payload) {
            TakePayload(p, end);
        } else if (m_hexMode) {
            TakeHexDumpByte(*p++);
        } else if (!m_held.empty() || *p < 0x20) {
            if (m_held.empty()) {
                FlushPendingLead();
                FlushTextLog();
            }
            TakeCommandByte(*p++);
        } else {
            TakeTextByte(*p++);
        }
        CheckReceiptLength();
    }
    m_reply = nullptr;
}

void Interpreter::Idle()
{
    // A command still unfinished after the silence is abandoned: its sender has gone.
    if (m_payload) {
        Log(m_payload->header, m_payload->data, m_payload->header.size() + m_payload->length,
            m_payload->def->mnemonic, std::string(m_payload->def->meaning) + ": cut off, discarded");
        m_payload.reset();
    }
    if (!m_held.empty()) {
        Log(m_held, {}, m_held.size(), "incomplete", "command cut off, discarded");
        m_held.clear();
    }
    FlushPendingLead();
    FlushTextLog();
    if (m_hexMode) {
        if (!m_hexLine.empty()) PrintHexDumpLine();
        m_hexMode = false;
    }
    m_layout.FlushLine();
    EndReceipt();
}

void Interpreter::TakeCommandByte(uint8_t b)
{
    m_held.push_back(b);
    Match match = MatchCommand(m_held);
    if (match.kind == MatchKind::NeedMore) return;
    if (match.kind == MatchKind::Unknown) {
        Log(m_held, {}, m_held.size(), "unknown", "unknown command (ignored)");
        m_held.clear();
        return;
    }
    StartCommand(*match.def);
}

// Decides, once enough of the header is held, how long the rest of the command is.
void Interpreter::StartCommand(const CommandDef& def)
{
    const Bytes& h = m_held;
    size_t headerLength = size_t(def.length);
    if (def.shape == Shape::Barcode && h.size() >= 3 && h[2] > 6) headerLength = 4;
    if (def.shape == Shape::Cut && h.size() >= 3 && (h[2] == 65 || h[2] == 66)) headerLength = 4;
    if (h.size() < headerLength) return;

    Payload payload;
    switch (def.shape) {
    case Shape::Fixed:
    case Shape::Cut: break;
    case Shape::BitImage: payload.length = 8 * uint64_t(h[2]) * h[3]; break;
    case Shape::NvLogo: payload.length = 8 * Word(h, 3) * Word(h, 5); break;
    case Shape::Sized16: payload.length = Word(h, headerLength - 2); break;
    case Shape::Counted8: payload.length = h[headerLength - 1]; break;
    case Shape::Raster: payload.length = Word(h, 4) * Word(h, 6); break;
    case Shape::EscBitImage:
        if (h[2] == 0 || h[2] == 1) payload.length = Word(h, 3);
        if (h[2] == 32 || h[2] == 33) payload.length = 3 * Word(h, 3);
        break;
    case Shape::Barcode:
        if (headerLength == 4) payload.length = h[3];
        else payload.untilNul = true;
        break;
    }
    if (payload.length == 0 && !payload.untilNul) {
        Bytes header = std::move(m_held);
        m_held.clear();
        Execute(def, header, {}, true, 0);
        return;
    }
    payload.def = &def;
    payload.header = std::move(m_held);
    m_held.clear();
    payload.remaining = payload.length;
    const uint64_t limit = def.shape == Shape::NvLogo ? kMaxLogoBytes : kMaxHeldPayload;
    payload.keep = payload.untilNul || payload.length <= limit;
    if (payload.keep && !payload.untilNul) payload.data.reserve(size_t(payload.length));
    m_payload = std::move(payload);
}

void Interpreter::TakePayload(const uint8_t*& p, const uint8_t* end)
{
    Payload& pl = *m_payload;
    if (pl.untilNul) {
        while (p < end) {
            if (*p == 0x00) {
                ++p;
                pl.length = pl.data.size() + 1;
                FinishPayload();
                return;
            }
            if (pl.data.size() == kMaxBarcodeData) {
                // No terminator in time: the command ends here, the byte is read afresh.
                pl.keep = false;
                pl.length = pl.data.size();
                FinishPayload();
                return;
            }
            pl.data.push_back(*p++);
        }
        return;
    }
    const uint64_t take = std::min<uint64_t>(pl.remaining, uint64_t(end - p));
    if (pl.keep) pl.data.insert(pl.data.end(), p, p + take);
    p += take;
    pl.remaining -= take;
    if (pl.remaining == 0) FinishPayload();
}

void Interpreter::FinishPayload()
{
    Payload pl = std::move(*m_payload);
    m_payload.reset();
    Execute(*pl.def, pl.header, pl.data, pl.keep, pl.length);
}

void Interpreter::TakeTextByte(uint8_t b)
{
    m_bandLine = false;
    if (m_gbkLead >= 0) {
        const uint8_t lead = uint8_t(m_gbkLead);
        m_gbkLead = -1;
        if (TextDecoder::IsGbkTrail(b)) {
            m_textLog.push_back(b);
            PrintText(m_decoder.Gbk(lead, b), true);
            if (m_textLog.size() >= kTextLogChunk) FlushTextLog();
            return;
        }
        PrintText(kUnprintable, false);
    }
    m_textLog.push_back(b);
    if (m_chinese && TextDecoder::IsGbkLead(b)) {
        m_gbkLead = b;
        return;
    }
    if (m_chinese && b >= 0x80) PrintText(kUnprintable, false);
    else PrintText(m_decoder.SingleByte(b, m_codePage), false);
    if (m_textLog.size() >= kTextLogChunk) FlushTextLog();
}

void Interpreter::PrintText(const std::string& utf8, bool wide)
{
    m_textLogUtf8 += utf8;
    m_layout.AddChar(utf8, wide, m_style);
}

void Interpreter::FlushPendingLead()
{
    if (m_gbkLead < 0) return;
    m_gbkLead = -1;
    PrintText(kUnprintable, false);
}

void Interpreter::FlushTextLog()
{
    if (m_textLog.empty()) return;
    Bytes bytes = std::move(m_textLog);
    m_textLog.clear();
    std::string text = std::move(m_textLogUtf8);
    m_textLogUtf8.clear();
    Log(bytes, {}, bytes.size(), "text", "print \"" + text + "\"");
}

size_t Interpreter::HexBytesPerLine() const
{
    // "XX " per byte, a space, then one character per byte, in 12-dot cells.
    return size_t(std::max(1, (m_layout.PaperDots() / kFontACellW - 1) / 4));
}

void Interpreter::TakeHexDumpByte(uint8_t b)
{
    m_hexLine.push_back(b);
    if (m_hexLine.size() == HexBytesPerLine()) PrintHexDumpLine();
}

void Interpreter::PrintHexDumpLine()
{
    std::string text;
    for (uint8_t b : m_hexLine) {
        text += kHexDigits[b >> 4];
        text += kHexDigits[b & 0x0F];
        text += ' ';
    }
    text.append(3 * (HexBytesPerLine() - m_hexLine.size()) + 1, ' ');
    for (uint8_t b : m_hexLine) text += (b >= 0x20 && b < 0x7F) ? char(b) : '.';
    TextStyle plain;
    PrintLine(text, plain);
    Log(m_hexLine, {}, m_hexLine.size(), "hex dump", "printed as a hex dump line");
    m_hexLine.clear();
}

void Interpreter::Log(const Bytes& header, const Bytes& payload, uint64_t length,
                      std::string_view mnemonic, std::string meaning)
{
    if (!m_hooks.log) return;
    LogRecord record;
    record.link = m_link;
    record.bytes.assign(header.begin(), header.begin() + std::min(header.size(), kMaxLoggedBytes));
    const size_t room = kMaxLoggedBytes - record.bytes.size();
    record.bytes.insert(record.bytes.end(), payload.begin(), payload.begin() + std::min(payload.size(), room));
    record.length = size_t(length);
    record.mnemonic = mnemonic;
    record.meaning = std::move(meaning);
    m_hooks.log(record);
}

void Interpreter::EndReceipt()
{
    Receipt done = m_layout.TakeReceipt();
    if (!done.Empty() && m_hooks.receiptDone) m_hooks.receiptDone(std::move(done));
}

void Interpreter::CheckReceiptLength()
{
    if (m_layout.Current().heightDots >= kMaxReceiptDots) EndReceipt();
}

size_t Interpreter::HeldBytes() const
{
    size_t total = m_held.capacity() + m_layout.HeldBytes() + m_hexLine.capacity() + m_qrData.capacity() +
                   m_pdfData.capacity() + m_textLog.capacity();
    if (m_payload) total += m_payload->data.capacity() + m_payload->header.capacity();
    if (m_downloaded) total += m_downloaded->data.capacity();
    for (const auto& logo : m_state.logos)
        if (logo) total += logo->data.capacity();
    return total;
}

} // namespace tallyx::vprinter
