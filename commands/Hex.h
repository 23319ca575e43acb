#pragma once
// Hexadecimal dump and the two hexadecimal parsers of the print-test box.
#include <string>
#include <string_view>

#include "res/Types.h"

namespace tallyx {

enum class HexParseStatus : uint8_t { Converted = 1, BadCharacter = 2 };

// Every byte as "%02X " (a space after the last byte too).
std::string BytesToHexText(std::string_view text);
// The parsed bytes; on a bad character, status BadCharacter and no bytes.
Bytes HexTextToBytes(std::string_view text, HexParseStatus& status);
// The parsed bytes up to the first 00; on a bad character the input unchanged.
std::string HexTextToText(std::string_view text, HexParseStatus& status);

} // namespace tallyx
