#pragma once
// The printer's command interpreter: frames the byte stream into text and whole commands
// and hands each command to the executor of its family. Bytes arrive in any chunking; a
// command cut off mid-way waits for the rest, so the outcome never depends on how the
// stream was split.
#include <optional>
#include <string>
#include <string_view>

#include "vprinter/interpret/BarcodeExecutor.h"
#include "vprinter/interpret/DeviceExecutor.h"
#include "vprinter/interpret/HexDump.h"
#include "vprinter/interpret/ImageExecutor.h"
#include "vprinter/interpret/PrintContext.h"
#include "vprinter/interpret/SettingsExecutor.h"
#include "vprinter/interpret/StatusExecutor.h"
#include "vprinter/interpret/SymbolExecutor.h"
#include "vprinter/interpret/TextExecutor.h"
#include "vprinter/interpret/TextInput.h"
#include "vprinter/interpret/VoiceExecutor.h"

namespace tallyx::vprinter {

// Payloads larger than this are counted and dropped, never held.
inline constexpr size_t kMaxHeldPayload = 4 * 1024 * 1024;
// The longest GS k data without its 00 terminator.
inline constexpr size_t kMaxBarcodeData = 255;
// ESC D sets at most this many tab stops; bytes after them are read afresh.
inline constexpr size_t kMaxTabStops = 32;
// Everything the interpreter may hold at once (payload, receipt, logos, image).
inline constexpr size_t kMemoryCap = 64 * 1024 * 1024;

class Interpreter {
public:
    using Hooks = PrinterHooks;

    Interpreter(PrinterState& state, int paperDots, Hooks hooks, const Profile& profile = DefaultProfile());

    void Feed(const uint8_t* data, size_t n, std::string_view link, const ReplyFn& reply = {});
    void Feed(std::string_view bytes, std::string_view link = "tcp", const ReplyFn& reply = {})
    {
        Feed(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), link, reply);
    }
    // Silence on every link: prints what is held, ends the receipt, leaves hex dump mode.
    void Idle();
    // The sender's connection ended: a command it left unfinished is dropped, so the next
    // connection starts clean. The receipt goes on.
    void EndOfStream(std::string_view link);

    // The sensors the operator set. While the printer cannot print, every command but the
    // real-time ones (DLE ...) is dropped and logged with the reason.
    void SetStatus(const DeviceStatus& status, const PushFn& push = {});
    const DeviceStatus& Status() const { return m_status.Status(); }
    void SetIdentity(PrinterIdentity identity) { m_status.SetIdentity(std::move(identity)); }
    void SetSilent(bool silent) { m_status.SetSilent(silent); }

    const Receipt& CurrentReceipt() const { return m_ctx.layout.Current(); }
    void SetUnansweredNote(std::string note) { m_ctx.unansweredNote = std::move(note); }
    const TextStyle& Style() const { return m_ctx.style; }
    bool ChineseMode() const { return m_ctx.chinese; }
    bool HexDumpMode() const { return m_hexDump.Active(); }
    uint8_t ActiveCodePage() const { return m_ctx.codePage; }
    size_t HeldBytes() const;
    int PaperDots() const { return m_ctx.layout.PaperDots(); }

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

    void TakeCommandByte(uint8_t b);
    void StartCommand(const CommandDef& def);
    void TakePayload(const uint8_t*& p, const uint8_t* end);
    void FinishPayload();
    void AbandonCommand();
    void Execute(const Command& cmd);
    void Initialise();
    bool Stopped() const { return ReportsOffline(m_status.Status()); }
    void DropText(uint8_t b);
    void FlushDropped();

    PrintContext m_ctx;
    TextInput m_text;
    HexDump m_hexDump;
    TextExecutor m_textCommands;
    SettingsExecutor m_settings;
    ImageExecutor m_images;
    BarcodeExecutor m_barcodes;
    SymbolExecutor m_symbols;
    DeviceExecutor m_device;
    VoiceExecutor m_voice;
    StatusExecutor m_status;

    Bytes m_held;
    std::optional<Payload> m_payload;
    Bytes m_dropped;   // text not printed while stopped, logged in runs
};

} // namespace tallyx::vprinter
