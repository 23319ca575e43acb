#pragma once
// The operator's text as the printer takes it: GBK bytes.
#include <string>
#include <string_view>

namespace tallyx {

// Each line feed not already after a carriage return sent as CR LF, as the dialogs' edit
// boxes hold their line breaks.
std::string WithCrLf(std::string_view text);
// Characters GBK cannot hold become '?'.
std::string Utf8ToGbk(std::string_view utf8);
// Bytes that are not GBK become U+FFFD.
std::string GbkToUtf8(std::string_view gbk);

// The print-test box's text from its bytes and back, without losing a byte: CR LF is a
// line break; a lone CR or LF shows as U+240D or U+240A; a byte that is not GBK shows as
// U+F700 + byte. A line break typed by the operator is CR LF.
std::string BoxTextFromBytes(std::string_view gbk);
std::string BytesFromBoxText(std::string_view utf8);

} // namespace tallyx
