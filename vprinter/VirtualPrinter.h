#pragma once
// A receipt printer on this machine that prints to pictures: a TCP port and a serial
// port (pseudo-terminal), one interpreter, PNG files, and the receipt as it grows.
// Needs a QGuiApplication (fonts); runs its links on threads of its own.
#include <QImage>
#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "vprinter/PrinterEngine.h"
#include "vprinter/ScriptRunner.h"
#include "vprinter/ports/Forwarder.h"
#include "vprinter/ports/PtyPort.h"
#include "vprinter/ports/TcpServer.h"
#include "vprinter/render/ReceiptRenderer.h"
#include "vprinter/web/LivePage.h"

namespace tallyx::vprinter {

inline constexpr char kCutText[] = "Cut";
inline constexpr char kCutFull[] = "full";
inline constexpr char kCutPartial[] = "partial";
inline constexpr char kCutNone[] = "none";

// "虚拟打印机 — 127.0.0.1:9100 · /tmp/tallyx-vprinter-42"; a part that is not there is left out.
std::string RollTitleText(const std::string& host, uint16_t tcpPort, const std::string& ptyPath);

struct VirtualPrinterOptions {
    bool listen = true;                    // false: no TCP port
    std::string listenHost = "127.0.0.1";
    uint16_t listenPort = 9100;            // 0: any free port, see TcpPort()
    std::string ptyPath;                   // "": no serial port
    bool http = false;                     // the live web page (--http)
    std::string httpHost = "127.0.0.1";
    uint16_t httpPort = 0;                 // 0: any free port, see PageAddress()
    std::string outDir;                    // "": no PNG files
    std::string statePath;                 // "": settings kept in memory only
    std::string logPath;                   // "": no log; "-": standard output
    std::shared_ptr<CommandLog> log = {};  // set: one log for several printers, instead of logPath
    int paperDots = kPaper58Dots;          // 384 (58 mm) or 576 (80 mm)
    const Profile* profile = &DefaultProfile();
    // Called with every finished receipt's picture, on a printer thread (render writes them).
    std::function<void(const QImage&)> receiptPicture;
    // Called with every logged command, on a printer thread (render's --strict reads them).
    std::function<void(const LogRecord&)> logged;
    int idleMs = kIdleMs;                  // silence that ends a receipt
    int acceptDelayMs = 0;                 // faults for tests, see TcpOptions
    int replyBytes = -1;
    int64_t resetAfter = -1;
    DeviceStatus status;                       // the sensors at start (--status)
    std::optional<PrinterIdentity> identity;   // none: DefaultIdentity(paperDots)
    // Set: every byte goes on to this real printer too, and its answers come back instead.
    std::optional<ForwardTarget> forward;
    std::vector<ScriptEvent> script;           // faults in time (--script)
};

class VirtualPrinter {
public:
    explicit VirtualPrinter(VirtualPrinterOptions options);
    ~VirtualPrinter();
    VirtualPrinter(const VirtualPrinter&) = delete;
    VirtualPrinter& operator=(const VirtualPrinter&) = delete;

    // Opens the links. False (nothing left running) with `error` set when one cannot be opened.
    bool Start(std::string* error = nullptr);
    // Closes the links and writes the unfinished receipt. Called by the destructor.
    void Stop();

    uint16_t TcpPort() const;                // the bound port (0 when not listening)
    std::string PtyPath() const;             // the symbolic link the tool opens
    std::string PtySlaveName() const;        // the device it points at
    std::string PageAddress() const;         // "http://127.0.0.1:8080/" ("" without the page)

    // Bytes as if received on a link (named in the log).
    void Feed(const uint8_t* data, size_t n, std::string_view link);

    // The receipt being printed; when it is empty, the last one finished (null before any).
    QImage CurrentReceipt() const;
    int ReceiptsFinished() const;
    // How the last finished receipt left the printer: a full or partial cut, or none (the
    // silence or the end of the input ended it). Its picture says the same in its text
    // field kCutText: "full", "partial" or "none".
    CutKind LastReceiptCut() const;
    std::vector<std::string> WrittenFiles() const;
    PrinterState State() const;
    // The sensors, as the operator sets them (the window's status menu); any thread.
    void SetStatus(const DeviceStatus& status);
    DeviceStatus Status() const;
    std::string TakeWarnings();

    // What the voice chip last said ("voice prompt 7", "amount 12.50"; "" before anything),
    // for a line under the receipt. Changes are announced by the changed callback.
    std::string LastVoiceLine() const;
    // The text lines of the last finished receipt, as printed (for screen readers).
    std::vector<std::string> LastReceiptText() const;

    // Called on a printer thread after every printed block, finished receipt and voice line.
    // Keep it short and do not call back into the printer; a window should only queue a
    // repaint. Replacing it waits for a call in progress.
    void SetChangedCallback(std::function<void()> callback);

private:
    void OnReceiptDone(Receipt&& receipt);
    void Take(const uint8_t* data, size_t n, std::string_view link, const ReplyFn& reply);
    void Relay(const Bytes& bytes);
    void Act(const ScriptEvent& event);
    void Notify();
    int NextFileNumber() const;

    VirtualPrinterOptions m_options;
    ReceiptCanvas m_canvas;
    RollRecorder m_recorder;   // under the engine's lock, like every listener call; outlives it
    std::unique_ptr<PrinterEngine> m_engine;
    std::unique_ptr<TcpServer> m_tcp;
    std::unique_ptr<PtyPort> m_pty;
    std::unique_ptr<LivePage> m_web;
    std::unique_ptr<Forwarder> m_forward;
    std::unique_ptr<ScriptRunner> m_script;
    std::atomic<bool> m_lastFromPty{false};   // where the real printer's answers go
    std::atomic<bool> m_silent{false};

    mutable std::mutex m_mutex;   // guards what follows
    QImage m_lastReceipt;
    CutKind m_lastCut = CutKind::None;
    int m_finished = 0;
    int m_nextNumber = 1;
    std::vector<std::string> m_files;
    std::string m_warnings;
    std::string m_voiceLine;
    std::vector<std::string> m_lastLines;

    std::mutex m_callbackMutex;   // held while the callback runs
    std::function<void()> m_changed;
};

} // namespace tallyx::vprinter
