#include "vprinter/interpret/PrintContext.h"

#include <algorithm>
#include <utility>

namespace tallyx::vprinter {

PrintContext::PrintContext(PrinterState& printerState, int paperDots, PrinterHooks printerHooks,
                           const Profile& printerProfile)
    : state(printerState), profile(printerProfile), hooks(std::move(printerHooks)), layout(paperDots)
{
    layout.onBlock = [this](const Block& block) {
        if (hooks.block) hooks.block(block);
    };
    layout.SetTextAtTop(profile.textAtLineTop);
    chinese = state.printMode == 1;
    codePage = state.codePage;
}

std::string PrintableText(const Bytes& data)
{
    std::string text;
    for (uint8_t b : data) text += (b >= 0x20 && b < 0x7F) ? char(b) : '.';
    return text;
}

namespace {
int Dots(int n, int unitsPerInch, int dpi)
{
    return unitsPerInch == 0 ? n : int(int64_t(n) * dpi / unitsPerInch);
}
} // namespace

int PrintContext::DotsAcross(int n) const
{
    return Dots(n, motionX, profile.dpi);
}

int PrintContext::DotsAlong(int n) const
{
    return Dots(n, motionY, profile.dpi);
}

void PrintContext::Reply(const Bytes& bytes) const
{
    if (reply && *reply) (*reply)(bytes);
    else if (!unansweredNote.empty()) answerDropped = true;
}

void PrintContext::ChangeState() const
{
    if (hooks.stateChanged) hooks.stateChanged();
}

void PrintContext::EndReceipt(CutKind cut)
{
    const Receipt& current = layout.Current();
    if (current.Empty()) return;
    // Blank paper after a cut joins the next receipt, unless it is a whole roll of it.
    if (current.Blank() && afterCut && current.heightDots < kMaxReceiptDots) return;
    Receipt done = layout.TakeReceipt();
    if (done.Blank()) return;
    done.cut = cut;
    afterCut = cut != CutKind::None;
    ++receiptsEnded;
    if (hooks.receiptDone) hooks.receiptDone(std::move(done));
}

void PrintContext::CheckReceiptLength()
{
    if (layout.Current().heightDots >= kMaxReceiptDots) EndReceipt();
}

void PrintContext::PrintLine(std::string_view utf8, const TextStyle& lineStyle)
{
    size_t i = 0;
    while (i < utf8.size()) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        size_t len = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        len = std::min(len, utf8.size() - i);
        // Characters of three bytes and more are the CJK ones in our texts.
        layout.AddChar(std::string(utf8.substr(i, len)), len >= 3, lineStyle);
        i += len;
    }
    layout.LineFeed(lineStyle);
}

void PrintContext::Log(const Bytes& header, const Bytes& payload, uint64_t length, std::string_view mnemonic,
                       std::string meaning, bool notCarriedOut) const
{
    if (!hooks.log) return;
    LogRecord record;
    record.link = link;
    record.bytes.assign(header.begin(), header.begin() + std::min(header.size(), kMaxLoggedBytes));
    const size_t room = kMaxLoggedBytes - record.bytes.size();
    record.bytes.insert(record.bytes.end(), payload.begin(), payload.begin() + std::min(payload.size(), room));
    record.length = size_t(length);
    record.mnemonic = mnemonic;
    record.meaning = std::move(meaning);
    if (std::exchange(answerDropped, false)) record.meaning += unansweredNote;
    record.receipt = commandReceipt > 0 ? commandReceipt : receiptsEnded + 1;
    record.notCarriedOut = notCarriedOut;
    hooks.log(record);
}

} // namespace tallyx::vprinter
