#pragma once
// What every family of commands works on: the stored settings, the paper with its open line,
// the print style, and the ways out (the log, replies to the sender, finished receipts).
#include <functional>
#include <string>
#include <string_view>

#include "vprinter/device/LogRecord.h"
#include "vprinter/device/PrinterState.h"
#include "vprinter/device/Profiles.h"
#include "vprinter/interpret/CommandTable.h"
#include "vprinter/paper/LineLayout.h"
#include "vprinter/ports/ReplySink.h"

namespace tallyx::vprinter {

struct PrinterHooks {
    std::function<void(const LogRecord&)> log;
    std::function<void()> stateChanged;          // the stored settings changed
    std::function<void(const Block&)> block;     // a block was printed
    std::function<void(Receipt&&)> receiptDone;  // a receipt was cut off or ended
    std::function<void(const std::string&)> voice;   // what the voice chip said ("amount 12.50")
    // GS a on `link` asked for the status back on these items (0: none).
    std::function<void(std::string_view link, uint8_t items)> statusBack;
};

// One whole command as the framer hands it over.
struct Command {
    const CommandDef& def;
    const Bytes& header;
    const Bytes& payload;
    bool kept;                 // false: the payload was too large (or unterminated) and dropped
    uint64_t payloadLength;

    // The first byte after the prefix (0 when there is none).
    uint8_t Arg() const { return header.size() > def.prefix.size() ? header[def.prefix.size()] : 0; }
};

// Printable ASCII of data for the log; other bytes as dots.
std::string PrintableText(const Bytes& data);

struct PrintContext {
    PrintContext(PrinterState& printerState, int paperDots, PrinterHooks printerHooks,
                 const Profile& printerProfile = DefaultProfile());

    PrinterState& state;
    const Profile& profile;
    PrinterHooks hooks;
    LineLayout layout;

    // Print settings that ESC @ resets
    TextStyle style;
    bool chinese = false;
    uint8_t codePage = 0;
    uint8_t internationalSet = 0;   // ESC R
    // GS P: the motion units as 1/x inch; 0 is the printer's own unit, one dot.
    int motionX = 0;
    int motionY = 0;
    bool bandLine = false;     // an ESC * band is the current line; its LF feeds nothing
    bool afterCut = false;     // the last receipt was cut off: blank paper now joins the next
    uint64_t receiptsEnded = 0;   // receipts handed over so far
    uint64_t commandReceipt = 0;  // while a command runs: the receipt it began on (a cut logs onto what it cut)

    std::string link = "tcp";
    const ReplyFn* reply = nullptr;
    // Said after a command's meaning when it made an answer that no one was given (another
    // printer answers while forwarding); "": said of none.
    std::string unansweredNote;
    mutable bool answerDropped = false;

    // n motion units in whole dots across the paper (ESC SP, ESC $, ESC \, GS L, GS W) and
    // along it (ESC 3, ESC J), cut down to the dot as the print head does.
    int DotsAcross(int n) const;
    int DotsAlong(int n) const;

    void Reply(const Bytes& bytes) const;
    void ChangeState() const;
    // Ends the receipt being printed (a cut, the silence, a full roll). Paper fed after a cut
    // with nothing printed on it stays, to come out at the top of the next receipt; other
    // blank paper makes no picture.
    void EndReceipt(CutKind cut = CutKind::None);
    void CheckReceiptLength();
    // A whole line of UTF-8 text in `lineStyle`, as the printer's own pages print it.
    void PrintLine(std::string_view utf8, const TextStyle& lineStyle);
    void Log(const Bytes& header, const Bytes& payload, uint64_t length, std::string_view mnemonic,
             std::string meaning, bool notCarriedOut = false) const;
};

} // namespace tallyx::vprinter
