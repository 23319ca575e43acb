#pragma once
// The printer as one device shared by its links: the interpreter behind a lock, the stored
// settings written after every change, the log, and the silence that ends a receipt.
#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <map>
#include <optional>
#include <string>
#include <thread>

#include "vprinter/device/CommandLog.h"
#include "vprinter/device/StateStore.h"
#include "vprinter/interpret/Interpreter.h"

namespace tallyx::vprinter {

inline constexpr int kIdleMs = 2000;

struct EngineOptions {
    int paperDots = kPaper58Dots;
    std::string statePath;   // "": settings live in memory only
    std::string logPath;     // "": no log; "-": standard output
    int idleMs = kIdleMs;
    const Profile* profile = &DefaultProfile();
    std::shared_ptr<CommandLog> log = {};   // set: the log shared with other printers, instead of logPath
    std::string unansweredNote = {};   // after a logged command whose answer went to no one
};

class PrinterEngine {
public:
    // Called with the engine's lock held, on the thread of the link that fed the bytes
    // (or the idle thread); they must not call back into the engine.
    struct Listener {
        std::function<void(const Block&)> block;
        std::function<void(Receipt&&)> receiptDone;
        std::function<void(const LogRecord&)> log;
        std::function<void(const std::string&)> voice;
        // The bytes as the printer takes them, before they are carried out; `source` names
        // the sender (a TCP peer, the pty) or else the link.
        std::function<void(const uint8_t*, size_t, std::string_view source)> input;
        // GS a on `link` asked for the status back on these items (0: none).
        std::function<void(std::string_view link, uint8_t items)> statusBack;
        // The sensors changed these GS a items; `asb` is the status back to send.
        std::function<void(uint8_t changed, const Bytes& asb)> statusChanged;
    };

    PrinterEngine(EngineOptions options, Listener listener);
    ~PrinterEngine();
    PrinterEngine(const PrinterEngine&) = delete;
    PrinterEngine& operator=(const PrinterEngine&) = delete;

    // Starts the idle watch.
    void Start();
    // Stops the idle watch and prints what is still held (the unfinished receipt).
    void Stop();

    void Feed(const uint8_t* data, size_t n, std::string_view link, const ReplyFn& reply,
              std::string_view source = {});
    // A connection of `link` has ended (the serial link has none: silence ends its commands).
    void EndOfStream(std::string_view link);
    PrinterState State() const;
    // The operator changes the sensors; links that asked (GS a) are sent the status back.
    void SetStatus(const DeviceStatus& status);
    DeviceStatus Status() const;
    // Stops (true) or resumes answering status questions and sending the status back.
    void SetSilent(bool silent);
    // A line in the log that is no command (a script's event, bytes not forwarded).
    void Note(const LogRecord& record);
    // Who it says it is to GS I (at first DefaultIdentity of its paper width).
    void SetIdentity(PrinterIdentity identity);
    // Where bytes nobody asked for go on `link` (an empty function: nowhere).
    void SetPush(const std::string& link, ReplyFn push);
    // Problems met loading or saving the state file, for the operator.
    std::string TakeWarnings();

private:
    void IdleLoop();
    void SaveState();
    void FlushLog();   // the log's held lines into its file

    EngineOptions m_options;
    Listener m_listener;
    std::optional<StateStore> m_store;
    std::shared_ptr<CommandLog> m_log;
    mutable std::mutex m_mutex;
    PrinterState m_state;
    std::unique_ptr<Interpreter> m_interpreter;
    std::string m_warnings;
    bool m_logFailed = false;
    std::map<std::string, ReplyFn, std::less<>> m_push;
    bool m_silent = false;

    std::condition_variable m_wake;
    bool m_stop = false;
    bool m_dirty = false;   // bytes arrived since the last idle
    std::chrono::steady_clock::time_point m_lastInput;
    std::thread m_idleThread;
};

} // namespace tallyx::vprinter
