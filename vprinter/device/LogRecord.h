#pragma once
// One command as the log keeps it: which link it came on, its first bytes, its name and
// what it did.
#include <cstddef>
#include <cstdint>
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
    uint64_t receipt = 0;       // the receipt it went onto, from 1 (the next picture while none is open)
    bool notCarriedOut = false; // a printer would have acted on it; this one did nothing
};

} // namespace tallyx::vprinter
