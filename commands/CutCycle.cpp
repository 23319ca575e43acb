#include "commands/CutCycle.h"

#include "res/Messages.h"

namespace tallyx {

std::optional<Message> CheckCutterSettings(uint32_t count, uint32_t delayMs)
{
    if (count > kCutCountMax) return Message{kCaptionCutter, kMsgCutCountTooHigh};
    if (count == 0) return Message{kCaptionCutter, kMsgCutCountTooLow};
    if (delayMs > kCutDelayMaxMs) return Message{kCaptionCutter, kMsgCutDelayTooLong};
    return std::nullopt;
}

Bytes BuildCutCycle(uint32_t cycle)
{
    Bytes out(8);
    uint32_t rest = cycle;
    for (int i = 7; i >= 0; --i) {
        out[size_t(i)] = uint8_t('0' + rest % 10);
        rest /= 10;
    }
    out.insert(out.end(), {0x0A, 0x0A, 0x1D, 0x56, 0x41, 0x00});   // LF LF, GS V A 0
    return out;
}

} // namespace tallyx
