#pragma once
// The printer's command interpreter. Bytes arrive in any chunking; a command cut off
// mid-way waits for the rest, so the outcome never depends on how the stream was split.
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "vprinter/CommandTable.h"
#include "vprinter/LineLayout.h"
#include "vprinter/PrinterState.h"
#include "vprinter/TextDecoder.h"

namespace tallyx::vprinter {

// Payloads larger than this are counted and dropped, never held.
inline constexpr size_t kMaxHeldPayload = 4 * 1024 * 1024;
// The longest GS k data without its 00 terminator.
inline constexpr size_t kMaxBarcodeData = 255;
// Hex of a logged command is cut after this many bytes (the length is always logged).
inline constexpr size_t kMaxLoggedBytes = 64;
// A run of text is logged when it reaches this many bytes.
inline constexpr size_t kTextLogChunk = 256;
// Everything the interpreter may hold at once (payload, receipt, logos, image).
inline constexpr size_t kMemoryCap = 64 * 1024 * 1024;

struct LogRecord {
    std::string link;
    Bytes bytes;          // at most kMaxLoggedBytes
    size_t length = 0;    // bytes of the whole command
    std::string mnemonic;
    std::string meaning;
};

using ReplyFn = std::function<void(const Bytes&)>;

class Interpreter {
public:
    struct Hooks {
        std::function<void(const LogRecord&)> log;
        std::function<void()> stateChanged;          // the stored settings changed
        std::function<void(const Block&)> block;     // a block was printed
        std::function<void(Receipt&&)> receiptDone;  // a receipt was cut off or ended
    };

    Interpreter(PrinterState& state, int paperDots, Hooks hooks);

    void Feed(const uint8_t* data, size_t n, std::string_view link, const ReplyFn& reply = {});
    void Feed(std::string_view bytes, std::string_view link = "tcp", const ReplyFn& reply = {})
    {
        Feed(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), link, reply);
    }
    // Silence on every link: prints what is held, ends the receipt, leaves hex dump mode.
    void Idle();

    const Receipt& CurrentReceipt() const { return m_layout.Current(); }
    const TextStyle& Style() const { return m_style; }
    bool ChineseMode() const { return m_chinese; }
    bool HexDumpMode() const { return m_hexMode; }
    uint8_t ActiveCodePage() const { return m_codePage; }
    size_t HeldBytes() const;
    int PaperDots() const { return m_layout.PaperDots(); }

private:
    struct Payload {
        const CommandDef* def = nullptr;
        Bytes header;
        uint64_t remaining = 0;
        uint64_t length = 0;
        Bytes data;
        bool keep = true;           // false: too large, counted and dropped
        bool untilNul = false;      // GS k m (m 0..6)
    };

    // Framing (Interpreter.cpp)
    void TakeCommandByte(uint8_t b);
    void StartCommand(const CommandDef& def);
    void TakePayload(const uint8_t*& p, const uint8_t* end);
    void FinishPayload();
    void TakeTextByte(uint8_t b);
    void FlushPendingLead();
    void FlushTextLog();
    void TakeHexDumpByte(uint8_t b);
    void PrintHexDumpLine();
    void Log(const Bytes& header, const Bytes& payload, uint64_t length,
             std::string_view mnemonic, std::string meaning);
    void EndReceipt();
    void CheckReceiptLength();

    // Commands (Commands.cpp, Settings.cpp, Images.cpp, Symbols.cpp, SelfTestPage.cpp)
    void Execute(const CommandDef& def, const Bytes& header, const Bytes& payload, bool kept,
                 uint64_t payloadLength);
    std::string ExecuteStyle(Op op, uint8_t n);
    std::string ExecuteSetting(Op op, const Bytes& header);
    std::string ExecuteImage(Op op, const Bytes& header, const Bytes& payload, bool kept);
    std::string ExecuteSymbol(Op op, const Bytes& header, const Bytes& payload, bool kept);
    std::string ExecuteSymbolFunction(const Bytes& payload);
    void Initialise();
    void PrintColumnImage(const ColumnImage& image, int scaleW, int scaleH);
    void PrintSelfTestPage();
    void PrintLine(std::string_view utf8, const TextStyle& style);
    void ChangeState();
    void PrintText(const std::string& utf8, bool wide);
    size_t HexBytesPerLine() const;

    PrinterState& m_state;
    Hooks m_hooks;
    LineLayout m_layout;
    TextDecoder m_decoder;

    // Framing
    Bytes m_held;
    std::optional<Payload> m_payload;
    int m_gbkLead = -1;
    Bytes m_textLog;
    std::string m_textLogUtf8;
    std::string m_link = "tcp";
    const ReplyFn* m_reply = nullptr;

    // Print settings that ESC @ resets
    TextStyle m_style;
    bool m_chinese = false;
    uint8_t m_codePage = 0;
    bool m_bandLine = false;     // an ESC * band is the current line; its LF feeds nothing
    bool m_hexMode = false;
    Bytes m_hexLine;
    std::optional<ColumnImage> m_downloaded;

    // Barcode and symbol settings
    uint8_t m_hriPosition = 0, m_hriFont = 0, m_barHeight = 162, m_barWidth = 3, m_barMargin = 0;
    uint8_t m_qrModule = 3, m_qrEcc = 0x30;
    Bytes m_qrData, m_pdfData;
    uint8_t m_pdfColumns = 0, m_pdfRows = 0, m_pdfWidth = 3, m_pdfRowHeight = 3;
};

} // namespace tallyx::vprinter
