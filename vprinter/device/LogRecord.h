#pragma once
// One command as the log keeps it: which link it came on, its first bytes, its name and
// what it did.
#include <cstddef>
#include <string>

#include "res/Types.h"

namespace tallyx::vprinter {

// Hex of a logged command is cut after this many bytes (the length is always logged).
inline constexpr size_t kMaxLoggedBytes = 64;

struct LogRecord {
    std::string link;
    Bytes bytes;          // at most kMaxLoggedBytes
    size_t length = 0;    // bytes of the whole command
    std::string mnemonic;
    std::string meaning;
};

} // namespace tallyx::vprinter
