#pragma once
// An interpreter with everything it reports recorded, and the receipt written out as text.
#include <gtest/gtest.h>
#include <initializer_list>
#include <string>
#include <vector>

#include "tests/support/Hex.h"
#include "vprinter/device/Profiles.h"
#include "vprinter/interpret/Interpreter.h"

namespace tallyx::vprinter::test {

struct PrinterProbe {
    explicit PrinterProbe(int paperDots = kPaper58Dots, PrinterState initial = {},
                          const Profile& profile = DefaultProfile());

    // Hex text as in "1B 40 0A"; replies are recorded.
    void FeedHex(std::string_view hex);
    void FeedBytes(std::string_view bytes);

    PrinterState state;
    std::vector<LogRecord> logs;
    std::vector<Receipt> receipts;
    std::vector<Bytes> replies;
    std::vector<std::string> voices;
    int stateChanges = 0;
    Interpreter interpreter;

    const LogRecord& LastLog() const { return logs.back(); }
    // Every finished receipt and then the one being printed.
    std::vector<Receipt> AllReceipts() const;
};

// A TM-T88-class printer fresh from the factory.
struct TmT88Probe : PrinterProbe {
    TmT88Probe() : PrinterProbe(kPaper80Dots, FactoryState(*FindProfile("tm-t88")), *FindProfile("tm-t88")) {}
};

// A command on its own, in hex, and what the log must say it meant.
struct MeaningRow {
    const char* command;
    const char* meaning;
};

// Each command fed to a fresh printer is logged as `prefix` and its row's meaning.
inline void ExpectMeanings(std::initializer_list<MeaningRow> rows, std::string_view prefix = {})
{
    for (const MeaningRow& row : rows) {
        SCOPED_TRACE(row.command);
        PrinterProbe p;
        p.FeedHex(row.command);
        EXPECT_EQ(p.LastLog().meaning, std::string(prefix) + row.meaning);
    }
}

// The characters of every text line, one line per row ("" for a feed, "[picture WxH]" for
// pictures, barcodes and symbols), so that tests can read what was printed.
std::string PrintedText(const Receipt& receipt);
// Everything about a receipt, block by block, for comparing two of them exactly.
std::string Describe(const Receipt& receipt);
std::string Describe(const LogRecord& record);

// The glyphs of the first text line holding `text` as consecutive characters.
std::vector<Glyph> GlyphsOf(const Receipt& receipt, std::string_view text);

} // namespace tallyx::vprinter::test
