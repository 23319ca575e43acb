#include "vprinter/interpret/Interpreter.h"

#include <algorithm>
#include <utility>

namespace tallyx::vprinter {

namespace {
// The virtual printer's own identity, with the profile's words where it has them.
PrinterIdentity ProfileIdentity(const Profile& profile, int paperDots)
{
    PrinterIdentity id = DefaultIdentity(paperDots);
    if (!profile.maker.empty()) id.maker = std::string(profile.maker);
    if (!profile.model.empty()) id.model = std::string(profile.model);
    return id;
}

uint64_t Word(const Bytes& h, size_t at)
{
    return uint64_t(h[at]) | uint64_t(h[at + 1]) << 8;
}

// GS V m: the forms with a feed amount n after m (feed and cut, cut at the next position).
bool CutWithFeed(uint8_t m)
{
    return m == 65 || m == 66 || m == 97 || m == 98 || m == 103 || m == 104;
}

// Commands of the ignored family that a real printer passes over too: a NUL, a CR (a line
// ends at LF), and ESC S, which asks for the standard mode the printer is always in.
bool PassedOverByPrinters(Op op)
{
    return op == Op::Nul || op == Op::CarriageReturn || op == Op::StandardMode;
}

} // namespace

Interpreter::Interpreter(PrinterState& state, int paperDots, Hooks hooks, const Profile& profile)
    : m_ctx(state, paperDots, std::move(hooks), profile), m_text(m_ctx), m_hexDump(m_ctx), m_textCommands(m_ctx),
      m_settings(m_ctx), m_images(m_ctx), m_barcodes(m_ctx), m_symbols(m_ctx), m_device(m_ctx), m_voice(m_ctx),
      m_status(m_ctx, ProfileIdentity(profile, paperDots))
{
}

void Interpreter::Feed(const uint8_t* data, size_t n, std::string_view link, const ReplyFn& reply)
{
    m_ctx.link = link;
    m_ctx.reply = &reply;
    const uint8_t* p = data;
    const uint8_t* end = data + n;
    while (p < end) {
        if (m_payload) {
            TakePayload(p, end);
        } else if (m_hexDump.Active() && !Stopped()) {
            m_hexDump.Take(*p++);
        } else if (!m_held.empty() || *p < 0x20) {
            if (m_held.empty()) {
                m_text.FlushPendingLead();
                m_text.FlushLog();
                FlushDropped();
            }
            TakeCommandByte(*p++);
        } else if (Stopped()) {
            DropText(*p++);
        } else {
            m_text.Take(*p++);
        }
        m_ctx.CheckReceiptLength();
    }
    m_ctx.reply = nullptr;
}

void Interpreter::Idle()
{
    AbandonCommand();
    m_text.FlushPendingLead();
    m_text.FlushLog();
    FlushDropped();
    m_hexDump.End();
    m_ctx.layout.FlushLine();
    m_ctx.EndReceipt();
}

void Interpreter::EndOfStream(std::string_view link)
{
    m_ctx.link = link;
    AbandonCommand();
    m_text.FlushPendingLead();
    m_text.FlushLog();
    FlushDropped();
    m_status.EndOfStream(link);
}

void Interpreter::SetStatus(const DeviceStatus& status, const PushFn& push)
{
    // What came before the change is logged as it was taken: printed, or dropped.
    m_text.FlushPendingLead();
    m_text.FlushLog();
    FlushDropped();
    m_status.SetStatus(status, push);
}

void Interpreter::DropText(uint8_t b)
{
    m_dropped.push_back(b);
    if (m_dropped.size() >= kTextLogChunk) FlushDropped();
}

void Interpreter::FlushDropped()
{
    if (m_dropped.empty()) return;
    const Bytes bytes = std::exchange(m_dropped, {});
    m_ctx.Log(bytes, {}, bytes.size(), "text",
              "print \"" + PrintableText(bytes) + "\": dropped (" + std::string(StopReason(m_status.Status())) + ")");
}

// A command still unfinished when its sender has gone is dropped, logged as cut off.
void Interpreter::AbandonCommand()
{
    if (m_payload) {
        m_ctx.Log(m_payload->header, m_payload->data, m_payload->header.size() + m_payload->length,
                  m_payload->def->mnemonic, std::string(m_payload->def->meaning) + ": cut off, discarded", true);
        m_payload.reset();
    }
    if (!m_held.empty()) {
        m_ctx.Log(m_held, {}, m_held.size(), "incomplete", "command cut off, discarded", true);
        m_held.clear();
    }
}

void Interpreter::TakeCommandByte(uint8_t b)
{
    m_held.push_back(b);
    Match match = MatchCommand(m_held);
    if (match.kind == MatchKind::NeedMore) return;
    if (match.kind == MatchKind::Unknown) {
        m_ctx.Log(m_held, {}, m_held.size(), "unknown", "unknown command (ignored)", true);
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
    if (def.shape == Shape::Cut && h.size() >= 3 && CutWithFeed(h[2])) headerLength = 4;
    if (h.size() < headerLength) return;

    Payload payload;
    switch (def.shape) {
    case Shape::Fixed:
    case Shape::Cut: break;
    case Shape::BitImage: payload.length = 8 * uint64_t(h[2]) * h[3]; break;
    case Shape::NvLogo: payload.length = 8 * Word(h, 3) * Word(h, 5); break;
    case Shape::Sized16: payload.length = Word(h, headerLength - 2); break;
    case Shape::Sized32: payload.length = Word(h, headerLength - 4) | Word(h, headerLength - 2) << 16; break;
    case Shape::NulTerminated: payload.untilNul = true; break;
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
        Execute(Command{def, header, {}, true, 0});
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
            const bool tabs = pl.def->shape == Shape::NulTerminated;
            if (pl.data.size() == (tabs ? kMaxTabStops : kMaxBarcodeData)) {
                // No terminator in time: the command ends here, the byte is read afresh.
                pl.keep = tabs;
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
    Execute(Command{*pl.def, pl.header, pl.data, pl.keep, pl.length});
}

void Interpreter::Execute(const Command& cmd)
{
    struct OnReceipt {
        PrintContext& ctx;
        explicit OnReceipt(PrintContext& c) : ctx(c) { ctx.commandReceipt = ctx.receiptsEnded + 1; }
        ~OnReceipt() { ctx.commandReceipt = 0; }
    } onReceipt(m_ctx);
    // Real-time commands (DLE ...) are answered even by a printer that has stopped.
    if (Stopped() && cmd.def.prefix.front() != '\x10') {
        m_ctx.Log(cmd.header, cmd.payload, cmd.header.size() + cmd.payloadLength, cmd.def.mnemonic,
                  std::string(cmd.def.meaning) + ": dropped (" + std::string(StopReason(m_status.Status())) + ")");
        return;
    }
    const Op op = cmd.def.op;
    if (op != Op::LineFeed && op != Op::FormFeed && op != Op::CarriageReturn) m_ctx.bandLine = false;
    std::string detail;
    switch (cmd.def.family) {
    case Family::Framing:
        if (op == Op::Initialise) Initialise();
        if (op == Op::HexDump) m_hexDump.Start();
        break;
    case Family::Text: detail = m_textCommands.Execute(cmd); break;
    case Family::Settings: detail = m_settings.Execute(cmd); break;
    case Family::Images: detail = m_images.Execute(cmd); break;
    case Family::Barcodes: detail = m_barcodes.Execute(cmd); break;
    case Family::Symbols: detail = m_symbols.Execute(cmd); break;
    case Family::Device: detail = m_device.Execute(cmd); break;
    case Family::Voice: detail = m_voice.Execute(cmd); break;
    case Family::Status: detail = m_status.Execute(cmd); break;
    case Family::Ignored: break;
    }
    std::string meaning(cmd.def.meaning);
    if (!detail.empty()) meaning += ": " + detail;
    m_ctx.Log(cmd.header, cmd.payload, cmd.header.size() + cmd.payloadLength, cmd.def.mnemonic, std::move(meaning),
              cmd.def.family == Family::Ignored && !PassedOverByPrinters(cmd.def.op));
}

// ESC @: the unprinted line and the downloaded image go; the stored settings come back.
void Interpreter::Initialise()
{
    m_ctx.layout.DiscardLine();
    m_text.Reset();
    m_ctx.style = TextStyle{};
    m_ctx.chinese = m_ctx.state.printMode == 1;
    m_ctx.codePage = m_ctx.state.codePage;
    m_ctx.internationalSet = 0;
    m_ctx.motionX = m_ctx.motionY = 0;
    m_ctx.layout.ResetArea();
    m_images.Reset();
    m_barcodes.Reset();
}

size_t Interpreter::HeldBytes() const
{
    size_t total = m_held.capacity() + m_ctx.layout.HeldBytes() + m_hexDump.HeldBytes() + m_symbols.HeldBytes() +
                   m_text.HeldBytes() + m_images.HeldBytes() + m_dropped.capacity();
    if (m_payload) total += m_payload->data.capacity() + m_payload->header.capacity();
    for (const auto& logo : m_ctx.state.logos)
        if (logo) total += logo->data.capacity();
    return total;
}

} // namespace tallyx::vprinter
