#pragma once
// The operator's text as the printer takes it: GBK bytes.
#include <string>
#include <string_view>

namespace tallyx {

// Characters GBK cannot hold become '?'.
std::string Utf8ToGbk(std::string_view utf8);
// Bytes that are not GBK become U+FFFD.
std::string GbkToUtf8(std::string_view gbk);

} // namespace tallyx
