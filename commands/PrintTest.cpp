// Length first (the text as the box shows it), then the hexadecimal form if the box is ticked.
#include "commands/PrintTest.h"

#include "commands/Hex.h"
#include "res/Messages.h"

namespace tallyx {

Result BuildPrintTestCommand(std::string_view text, bool hexMode)
{
    if (text.size() > kPrintTestMaxBytes) return Message{kCaptionApp, kMsgTooMuchInput};
    if (!hexMode) return Bytes(text.begin(), text.end());
    HexParseStatus status = HexParseStatus::Converted;
    Bytes bytes = HexTextToBytes(text, status);
    if (status == HexParseStatus::BadCharacter) return Message{kCaptionError, kMsgHexInputError};
    return bytes;
}

} // namespace tallyx
