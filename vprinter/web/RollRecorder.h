#pragma once
// What the live page shows of one receipt, and how it is gathered: the bytes that came in,
// the commands the log kept and the links they came on, cut off at each receipt's end.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "vprinter/device/LogRecord.h"

namespace tallyx::vprinter {

// A receipt keeps at most this many of its bytes and log lines (the counts are always whole).
inline constexpr size_t kMaxWebReceiptBytes = 4 * 1024 * 1024;
inline constexpr size_t kMaxWebLogLines = 5000;
// More links than this that fed one receipt are counted, not named.
inline constexpr size_t kMaxWebSources = 4;

struct WebReceipt {
    uint64_t number = 0;            // given by the roll, from 1
    int64_t timeMs = 0;             // when it came out, ms since the epoch
    std::vector<std::string> sources;   // "tcp 127.0.0.1:40312", "pty /dev/pts/3"
    size_t moreSources = 0;
    std::string cut;                // "full", "partial" or "none"
    std::string png;
    int width = 0;
    int height = 0;
    std::string bytes;              // the first kMaxWebReceiptBytes of them
    size_t byteCount = 0;           // all of them
    bool bytesFromStart = true;     // false: its first bytes went before the roll kept them
    std::vector<LogRecord> log;
    size_t logCount = 0;
    size_t Footprint() const;       // bytes held, for the roll's bound
};

class RollRecorder {
public:
    // Bytes as the printer takes them, in its order.
    void Input(const uint8_t* data, size_t n, std::string_view source);
    // A command as logged. Returns the receipt that this command's record finished (a cut
    // logs itself after the receipt it ended has come out).
    std::optional<WebReceipt> Log(const LogRecord& record);
    // A receipt has come out. Without a cut it is finished at once; with one, by the cut's
    // own record, which follows. Returns the receipts finished now.
    std::vector<WebReceipt> Done(std::string cut, std::string png, int width, int height, int64_t timeMs);

private:
    WebReceipt Finish(WebReceipt receipt);
    void AddSource(std::string_view source);

    std::string m_stream;            // bytes not yet given to a receipt (at most the cap)
    size_t m_unkept = 0;             // bytes beyond the cap, counted only
    bool m_frontLost = false;
    size_t m_claimed = 0;            // bytes the log has accounted for since the last receipt
    std::vector<LogRecord> m_log;
    size_t m_logCount = 0;
    std::vector<std::string> m_sources;
    size_t m_moreSources = 0;
    std::string m_lastSource;
    std::optional<WebReceipt> m_closing;   // out, waiting for its cut's record
};

} // namespace tallyx::vprinter
