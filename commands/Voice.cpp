#include "commands/Voice.h"

#include "res/Messages.h"

namespace tallyx {

uint32_t PreviousVoice(uint32_t current) { return current > kVoiceFirst ? current - 1 : kVoiceFirst; }

uint32_t NextVoice(uint32_t current) { return current < kVoiceLast ? current + 1 : kVoiceLast; }

Bytes BuildVoicePromptCommand(uint8_t voice) { return {0x1F, 0x12, 0x10, voice}; }

namespace {
// The whole part of the number the text starts with: the digits before the first full
// stop (a later full stop ends the number; the fraction is dropped anyway).
uint64_t WholeAmount(std::string_view amount)
{
    uint64_t whole = 0;
    for (char c : amount) {
        if (c == '.') break;
        whole = whole * 10 + uint64_t(c - '0');
    }
    return whole;
}
} // namespace

Result BuildAmountCommand(std::string_view amount)
{
    if (amount.empty()) return Message{kCaptionVoice, kMsgAmountEmpty};
    if (amount.size() > kAmountMaxBytes) return Message{kCaptionVoice, kMsgAmountTooLong};
    for (char c : amount)
        if (!(c >= '0' && c <= '9') && c != '.') return Message{kCaptionVoice, kMsgAmountInvalid};
    if (WholeAmount(amount) >= kAmountLimit) return Message{kCaptionVoice, kMsgAmountTooLarge};
    Bytes out{0x1F, 0x13, uint8_t(amount.size())};
    out.insert(out.end(), amount.begin(), amount.end());
    return out;
}

} // namespace tallyx
