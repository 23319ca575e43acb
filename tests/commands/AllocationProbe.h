#pragma once
// The largest single allocation the program made since the last reset: the global
// operator new of this test program records it.
#include <cstddef>

namespace tallyx::test {

void ResetLargestAllocation();
size_t LargestAllocation();

} // namespace tallyx::test
