#include "vprinter/interpret/VoiceExecutor.h"

#include <algorithm>

namespace tallyx::vprinter {

namespace {

// An amount is read out digit by digit around its decimal point; anything else is not.
bool IsAmount(const Bytes& text)
{
    return !text.empty() && std::all_of(text.begin(), text.end(), [](uint8_t b) {
        return (b >= '0' && b <= '9') || b == '.';
    });
}

} // namespace

std::string VoiceExecutor::Execute(const Command& cmd)
{
    std::string said;
    if (cmd.def.op == Op::VoicePrompt) {
        said = "voice prompt " + std::to_string(cmd.Arg());
    } else {
        if (cmd.payload.empty()) return "no amount, nothing said";
        if (!IsAmount(cmd.payload)) return "\"" + PrintableText(cmd.payload) + "\" is not an amount, nothing said";
        said = "amount " + std::string(cmd.payload.begin(), cmd.payload.end());
    }
    if (m_ctx.hooks.voice) m_ctx.hooks.voice(said);
    return said;
}

} // namespace tallyx::vprinter
