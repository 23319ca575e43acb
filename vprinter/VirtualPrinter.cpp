#include "vprinter/VirtualPrinter.h"

#include "res/Messages.h"
#include "vprinter/interpret/PrinterTexts.h"
#include "vprinter/paper/ReceiptText.h"

#include <QDir>
#include <utility>
#include <cmath>
#include <cstdio>
#include <filesystem>

namespace tallyx::vprinter {

namespace {

constexpr char kFilePrefix[] = "receipt-";
constexpr char kTcpLink[] = "tcp";
constexpr char kSerialLink[] = "serial";
constexpr char kFileSuffix[] = ".png";
constexpr size_t kMaxWarnings = 4096;
constexpr double kMetresPerInch = 0.0254;

const char* CutName(CutKind cut)
{
    switch (cut) {
    case CutKind::Full: return kCutFull;
    case CutKind::Partial: return kCutPartial;
    case CutKind::None: break;
    }
    return kCutNone;
}

std::string FileName(int number)
{
    char name[32];
    std::snprintf(name, sizeof name, "%s%04d%s", kFilePrefix, number, kFileSuffix);
    return name;
}

} // namespace

std::string RollTitleText(const std::string& host, uint16_t tcpPort, const std::string& ptyPath)
{
    std::string where;
    if (tcpPort) where = host + ":" + std::to_string(tcpPort);
    if (!ptyPath.empty()) where += (where.empty() ? "" : std::string(kRollTitleSeparator)) + ptyPath;
    std::string title(kVirtualPrinterWindowTitle);
    return where.empty() ? title : title + std::string(kRollTitleDash) + where;
}

VirtualPrinter::VirtualPrinter(VirtualPrinterOptions options)
    : m_options(std::move(options)), m_canvas(m_options.paperDots)
{
    EngineOptions engine;
    engine.paperDots = m_options.paperDots;
    engine.statePath = m_options.statePath;
    engine.logPath = m_options.logPath;
    engine.log = m_options.log;
    engine.idleMs = m_options.idleMs;
    engine.profile = m_options.profile;
    // Forwarded, the client hears the real printer: the virtual one's answers are drawn in
    // the log as made, and said not to have been sent.
    if (m_options.forward) engine.unansweredNote = "; not sent: " + m_options.forward->text + " answers the client";
    PrinterEngine::Listener listener;
    listener.block = [this](const Block& block) {
        m_canvas.Append(block);
        Notify();
    };
    listener.receiptDone = [this](Receipt&& receipt) { OnReceiptDone(std::move(receipt)); };
    listener.log = m_options.logged;
    if (m_options.http) {
        listener.input = [this](const uint8_t* data, size_t n, std::string_view source) {
            m_recorder.Input(data, n, source);
        };
        listener.log = [this, logged = m_options.logged](const LogRecord& record) {
            if (logged) logged(record);
            if (auto finished = m_recorder.Log(record); finished && m_web) m_web->Add(std::move(*finished));
        };
    }
    // The TCP port sends the status back itself: it knows which connection asked.
    listener.statusBack = [this](std::string_view link, uint8_t items) {
        if (link == kTcpLink && m_tcp) m_tcp->SetStatusBack(items);
    };
    listener.statusChanged = [this](uint8_t changed, const Bytes& asb) {
        if (m_tcp && !m_forward) m_tcp->PushStatus(asb, changed);
    };
    listener.voice = [this](const std::string& said) {
        {
            std::lock_guard lock(m_mutex);
            m_voiceLine = said;
        }
        Notify();
    };
    m_engine = std::make_unique<PrinterEngine>(std::move(engine), std::move(listener));
    m_engine->SetStatus(m_options.status);
    if (m_options.identity) m_engine->SetIdentity(*m_options.identity);
    m_nextNumber = NextFileNumber();
}

VirtualPrinter::~VirtualPrinter()
{
    Stop();
}

bool VirtualPrinter::Start(std::string* error)
{
    if (m_options.http) {
        LivePageOptions page;
        page.host = m_options.httpHost;
        page.port = m_options.httpPort;
        page.status = [this] { return m_engine->Status(); };
        page.setStatus = [this](const DeviceStatus& status) { SetStatus(status); };
        // Made before the links, which read it; started after them, to name them.
        m_web = std::make_unique<LivePage>(std::move(page));
    }
    auto sink = [this](std::string_view link) {
        return [this, link](const uint8_t* data, size_t n, const ReplyFn& reply) { Take(data, n, link, reply); };
    };
    if (!m_options.outDir.empty()) {
        std::error_code ec;
        std::filesystem::create_directories(m_options.outDir, ec);
        if (ec) {
            if (error) *error = "cannot create " + m_options.outDir + ": " + ec.message();
            return false;
        }
    }
    // Made before the ports, which call into it; its clock starts with the printer.
    if (!m_options.script.empty())
        m_script = std::make_unique<ScriptRunner>(m_options.script, [this](const ScriptEvent& e) { Act(e); });
    if (m_options.forward) {
        auto lost = [this](const uint8_t* data, size_t n, const std::string& why) {
            LogRecord record;
            record.link = m_lastFromPty ? kSerialLink : kTcpLink;
            record.bytes.assign(data, data + std::min(n, kMaxLoggedBytes));
            record.length = n;
            record.mnemonic = "not forwarded";
            record.meaning = "did not reach " + m_options.forward->text + ": " + why;
            m_engine->Note(record);
        };
        m_forward = std::make_unique<Forwarder>(*m_options.forward, [this](const Bytes& b) { Relay(b); }, lost);
        if (!m_forward->Start(error)) {
            m_forward.reset();
            return false;
        }
    }
    if (m_options.listen) {
        TcpOptions tcp;
        tcp.host = m_options.listenHost;
        tcp.port = m_options.listenPort;
        tcp.acceptDelayMs = m_options.acceptDelayMs;
        tcp.replyBytes = m_options.replyBytes;
        tcp.resetAfter = m_options.resetAfter;
        m_tcp = std::make_unique<TcpServer>(tcp, sink(kTcpLink), [this] { m_engine->EndOfStream(kTcpLink); });
        if (!m_tcp->Start(error)) {
            m_tcp.reset();
            m_forward.reset();
            m_web.reset();
            return false;
        }
    }
    if (!m_options.ptyPath.empty()) {
        m_pty = std::make_unique<PtyPort>(m_options.ptyPath, sink(kSerialLink));
        if (!m_pty->Start(error)) {
            m_pty.reset();
            m_tcp.reset();
            m_forward.reset();
            m_web.reset();
            return false;
        }
    }
    if (m_web) {
        m_web->SetTitle(RollTitleText(m_options.listenHost, TcpPort(), PtyPath()));
        if (!m_web->Start(error)) {
            if (error) *error = "the web page: " + *error;
            m_pty.reset();
            m_tcp.reset();
            m_forward.reset();
            m_web.reset();
            return false;
        }
    }
    // The automatic status back goes out on the link that asked for it; a forwarded
    // printer's comes from the real one.
    if (m_pty && !m_forward) m_engine->SetPush(kSerialLink, [pty = m_pty.get()](const Bytes& bytes) { pty->Push(bytes); });
    m_engine->Start();
    if (m_script) m_script->Start();
    return true;
}

void VirtualPrinter::Stop()
{
    if (m_script) m_script->Stop();
    // The links first, so nothing arrives while the last receipt is written; their threads
    // end before they go, as they call back into this printer.
    if (m_engine) m_engine->SetPush(kSerialLink, {});
    if (m_forward) m_forward->Stop();
    if (m_tcp) m_tcp->Stop();
    if (m_pty) m_pty->Stop();
    m_forward.reset();
    m_tcp.reset();
    m_pty.reset();
    if (m_engine) m_engine->Stop();
    m_web.reset();   // after the last receipt, which the engine's stop prints
}

// Forwarded: the real printer answers, the virtual one still draws and logs.
void VirtualPrinter::Take(const uint8_t* data, size_t n, std::string_view link, const ReplyFn& reply)
{
    // The TCP peer is read on the server's own thread, inside its sink.
    std::string source;
    if (m_web) source = link == kSerialLink ? "pty " + m_options.ptyPath : "tcp " + m_tcp->CurrentPeer();
    if (!m_forward) return m_engine->Feed(data, n, link, reply, source);
    m_lastFromPty = link == kSerialLink;
    m_forward->Send(data, n);
    m_engine->Feed(data, n, link, {}, source);
}

void VirtualPrinter::Relay(const Bytes& bytes)
{
    if (m_silent) return;
    if (m_lastFromPty) {
        if (m_pty) m_pty->Push(bytes);
    } else if (m_tcp) {
        m_tcp->Push(bytes);
    }
}

void VirtualPrinter::Act(const ScriptEvent& event)
{
    LogRecord record;
    record.link = "script";
    record.mnemonic = "script";
    record.meaning = "line " + std::to_string(event.line) + ": " + event.text;
    m_engine->Note(record);
    switch (event.action) {
    case ScriptAction::Condition: {
        DeviceStatus status = Status();
        status.*event.condition = true;
        SetStatus(status);
        break;
    }
    case ScriptAction::Ready: SetStatus({}); break;
    case ScriptAction::Silent:
    case ScriptAction::Answer:
        m_silent = event.action == ScriptAction::Silent;
        m_engine->SetSilent(m_silent);
        break;
    case ScriptAction::Close:
        if (m_tcp) m_tcp->CloseCurrent();
        break;
    case ScriptAction::Rate:
        if (m_tcp) m_tcp->SetRate(event.rate);
        if (m_pty) m_pty->SetRate(event.rate);
        break;
    }
}

uint16_t VirtualPrinter::TcpPort() const
{
    return m_tcp ? m_tcp->Port() : 0;
}

std::string VirtualPrinter::PtyPath() const
{
    return m_pty ? m_pty->LinkPath() : std::string();
}

std::string VirtualPrinter::PtySlaveName() const
{
    return m_pty ? m_pty->SlaveName() : std::string();
}

std::string VirtualPrinter::PageAddress() const
{
    return m_web ? m_web->Address() : std::string();
}

void VirtualPrinter::Feed(const uint8_t* data, size_t n, std::string_view link)
{
    m_engine->Feed(data, n, link, {});
}

QImage VirtualPrinter::CurrentReceipt() const
{
    QImage growing = m_canvas.Snapshot();
    if (!growing.isNull()) return growing;
    std::lock_guard lock(m_mutex);
    return m_lastReceipt;
}

CutKind VirtualPrinter::LastReceiptCut() const
{
    std::lock_guard lock(m_mutex);
    return m_lastCut;
}

int VirtualPrinter::ReceiptsFinished() const
{
    std::lock_guard lock(m_mutex);
    return m_finished;
}

std::vector<std::string> VirtualPrinter::WrittenFiles() const
{
    std::lock_guard lock(m_mutex);
    return m_files;
}

std::string VirtualPrinter::LastVoiceLine() const
{
    std::lock_guard lock(m_mutex);
    return m_voiceLine;
}

PrinterState VirtualPrinter::State() const
{
    return m_engine->State();
}

void VirtualPrinter::SetStatus(const DeviceStatus& status)
{
    m_engine->SetStatus(status);
    if (m_web) m_web->StatusChanged(status);
}

DeviceStatus VirtualPrinter::Status() const
{
    return m_engine->Status();
}

std::string VirtualPrinter::TakeWarnings()
{
    std::string engine = m_engine->TakeWarnings();
    std::lock_guard lock(m_mutex);
    return std::exchange(m_warnings, {}) + engine;
}

void VirtualPrinter::SetChangedCallback(std::function<void()> callback)
{
    // Waits for a call in progress, so the old callback's owner may go once this returns.
    std::lock_guard lock(m_callbackMutex);
    m_changed = std::move(callback);
}

// On the engine's thread with its lock held: the canvas already shows this receipt.
void VirtualPrinter::OnReceiptDone(Receipt&& receipt)
{
    QImage image = m_canvas.TakeReceipt();
    if (image.isNull()) image = RenderReceipt(receipt);
    // How it left the printer, kept in the picture beside its dots (a PNG text field).
    image.setText(QString::fromLatin1(kCutText), QString::fromLatin1(CutName(receipt.cut)));
    // The head's resolution, so a viewer shows the receipt at the paper's real size.
    const int dotsPerMetre = int(std::lround(m_options.profile->dpi / kMetresPerInch));
    image.setDotsPerMeterX(dotsPerMetre);
    image.setDotsPerMeterY(dotsPerMetre);
    std::vector<std::string> lines = ReceiptTextLines(receipt);
    if (m_web) {
        const auto now = std::chrono::system_clock::now().time_since_epoch();
        const int64_t ms = std::chrono::duration_cast<std::chrono::milliseconds>(now).count();
        for (WebReceipt& done : m_recorder.Done(CutName(receipt.cut), ReceiptPng(image), image.width(), image.height(), ms))
            m_web->Add(std::move(done));
    }
    {
        std::lock_guard lock(m_mutex);
        m_lastReceipt = image;
        m_lastCut = receipt.cut;
        m_lastLines = std::move(lines);
        ++m_finished;
        if (m_script) m_script->ReceiptsFinished(m_finished);
        if (m_options.receiptPicture) m_options.receiptPicture(image);
        if (!m_options.outDir.empty()) {
            const std::string path = (std::filesystem::path(m_options.outDir) / FileName(m_nextNumber++)).string();
            const std::string temp = path + ".tmp";
            // Written aside and renamed, so a reader never sees half a picture.
            std::string error;
            if (SaveReceiptPicture(image, temp, &error) && std::rename(temp.c_str(), path.c_str()) == 0)
                m_files.push_back(path);
            else if (m_warnings.size() < kMaxWarnings)
                m_warnings += "cannot write " + path + (error.empty() ? "" : ": " + error) + "\n";
        }
    }
    Notify();
}

std::vector<std::string> VirtualPrinter::LastReceiptText() const
{
    std::lock_guard lock(m_mutex);
    return m_lastLines;
}

void VirtualPrinter::Notify()
{
    std::lock_guard lock(m_callbackMutex);
    if (m_changed) m_changed();
}

// Numbering goes on after the receipts already in the directory; none is overwritten.
int VirtualPrinter::NextFileNumber() const
{
    int highest = 0;
    std::error_code ec;
    if (m_options.outDir.empty() || !std::filesystem::is_directory(m_options.outDir, ec)) return 1;
    for (const auto& entry : std::filesystem::directory_iterator(m_options.outDir, ec)) {
        const std::string name = entry.path().filename().string();
        int number = 0;
        char tail = 0;
        if (std::sscanf(name.c_str(), "receipt-%d.pn%c", &number, &tail) == 2 && tail == 'g')
            highest = std::max(highest, number);
    }
    return highest + 1;
}

} // namespace tallyx::vprinter
