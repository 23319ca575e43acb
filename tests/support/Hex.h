#pragma once
// Test helpers: bytes as "1B 40 0A" and back, written independently of the code under test.
#include <string>
#include <string_view>

#include "res/Types.h"

namespace tallyx::test {

std::string Hex(const Bytes& bytes);
std::string Hex(std::string_view bytes);
Bytes FromHex(std::string_view spaced);   // "1B 40 0A" -> bytes; a typo fails the test

} // namespace tallyx::test
