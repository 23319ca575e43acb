#pragma once
// What the printer must receive for the cutter test's first three cycles: the cycle number
// in eight digits, two line feeds and a partial cut.
#include <string>

namespace tallyx::test {

inline const std::string kCycle1 = "30 30 30 30 30 30 30 31 0A 0A 1D 56 41 00";
inline const std::string kCycle2 = "30 30 30 30 30 30 30 32 0A 0A 1D 56 41 00";
inline const std::string kCycle3 = "30 30 30 30 30 30 30 33 0A 0A 1D 56 41 00";

} // namespace tallyx::test
