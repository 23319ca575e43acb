#include "vprinter/PrinterEngine.h"

#include <utility>

namespace tallyx::vprinter {

namespace {
constexpr size_t kMaxWarnings = 4096;
}

PrinterEngine::PrinterEngine(EngineOptions options, Listener listener)
    : m_options(std::move(options)), m_listener(std::move(listener)), m_state(FactoryState(*m_options.profile))
{
    if (!m_options.statePath.empty()) {
        m_store.emplace(m_options.statePath);
        std::string error;
        m_state = m_store->Load(&error, m_state);
        if (!error.empty()) m_warnings += "state file ignored, factory settings used: " + error + "\n";
    }
    if (m_options.log) {
        m_log = m_options.log;
    } else if (!m_options.logPath.empty()) {
        m_log = std::make_shared<CommandLog>(m_options.logPath);
        if (!m_log->Ok()) m_warnings += "cannot open the log " + m_options.logPath + "\n";
    }
    Interpreter::Hooks hooks;
    hooks.log = [this](const LogRecord& r) {
        if (m_log) m_log->Write(r);
        if (m_listener.log) m_listener.log(r);
    };
    hooks.stateChanged = [this] { SaveState(); };
    hooks.block = [this](const Block& b) {
        if (m_listener.block) m_listener.block(b);
    };
    hooks.receiptDone = [this](Receipt&& r) {
        if (m_listener.receiptDone) m_listener.receiptDone(std::move(r));
    };
    hooks.voice = [this](const std::string& said) {
        if (m_listener.voice) m_listener.voice(said);
    };
    hooks.statusBack = [this](std::string_view link, uint8_t items) {
        if (m_listener.statusBack) m_listener.statusBack(link, items);
    };
    m_interpreter = std::make_unique<Interpreter>(m_state, m_options.paperDots, std::move(hooks), *m_options.profile);
    m_interpreter->SetUnansweredNote(m_options.unansweredNote);
}

PrinterEngine::~PrinterEngine()
{
    Stop();
}

void PrinterEngine::Start()
{
    std::lock_guard lock(m_mutex);
    if (m_idleThread.joinable()) return;
    m_stop = false;
    m_idleThread = std::thread([this] { IdleLoop(); });
}

void PrinterEngine::Stop()
{
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_wake.notify_all();
    if (m_idleThread.joinable()) m_idleThread.join();
    std::lock_guard lock(m_mutex);
    m_interpreter->Idle();
    FlushLog();
    m_dirty = false;
}

void PrinterEngine::Feed(const uint8_t* data, size_t n, std::string_view link, const ReplyFn& reply,
                         std::string_view source)
{
    bool wasIdle = false;
    {
        std::lock_guard lock(m_mutex);
        if (m_listener.input) m_listener.input(data, n, source.empty() ? link : source);
        // The log holds every command before a reply by the time the sender reads the reply.
        const ReplyFn logThenReply = [&](const Bytes& bytes) {
            FlushLog();
            reply(bytes);
        };
        m_interpreter->Feed(data, n, link, reply ? logThenReply : reply);
        FlushLog();
        m_lastInput = std::chrono::steady_clock::now();
        wasIdle = !m_dirty;
        m_dirty = true;
    }
    // Only a silent printer's idle watch sleeps without a deadline; a running one finds the
    // later input itself when its deadline comes, so is not woken for every chunk.
    if (wasIdle) m_wake.notify_all();
}

void PrinterEngine::EndOfStream(std::string_view link)
{
    std::lock_guard lock(m_mutex);
    m_interpreter->EndOfStream(link);
    FlushLog();
}

PrinterState PrinterEngine::State() const
{
    std::lock_guard lock(m_mutex);
    return m_state;
}

void PrinterEngine::SetStatus(const DeviceStatus& status)
{
    std::lock_guard lock(m_mutex);
    const uint8_t changed = AsbChanges(m_interpreter->Status(), status);
    m_interpreter->SetStatus(status, [this](std::string_view link, const Bytes& bytes) {
        const auto it = m_push.find(link);
        if (it == m_push.end()) return;
        FlushLog();
        it->second(bytes);
    });
    FlushLog();
    if (changed && m_listener.statusChanged && !m_silent) m_listener.statusChanged(changed, AsbBytes(status));
}

void PrinterEngine::SetSilent(bool silent)
{
    std::lock_guard lock(m_mutex);
    m_silent = silent;
    m_interpreter->SetSilent(silent);
}

void PrinterEngine::Note(const LogRecord& record)
{
    std::lock_guard lock(m_mutex);
    if (m_log) m_log->Write(record);
    if (m_listener.log) m_listener.log(record);
    FlushLog();
}

DeviceStatus PrinterEngine::Status() const
{
    std::lock_guard lock(m_mutex);
    return m_interpreter->Status();
}

void PrinterEngine::SetIdentity(PrinterIdentity identity)
{
    std::lock_guard lock(m_mutex);
    m_interpreter->SetIdentity(std::move(identity));
}

void PrinterEngine::SetPush(const std::string& link, ReplyFn push)
{
    std::lock_guard lock(m_mutex);
    if (push) m_push[link] = std::move(push);
    else m_push.erase(link);
}

std::string PrinterEngine::TakeWarnings()
{
    std::lock_guard lock(m_mutex);
    return std::exchange(m_warnings, {});
}

void PrinterEngine::IdleLoop()
{
    std::unique_lock lock(m_mutex);
    const auto silence = std::chrono::milliseconds(m_options.idleMs);
    while (!m_stop) {
        if (!m_dirty) {
            m_wake.wait(lock, [this] { return m_stop || m_dirty; });
            continue;
        }
        const auto due = m_lastInput + silence;
        if (std::chrono::steady_clock::now() < due) {
            m_wake.wait_until(lock, due, [this] { return m_stop; });
            continue;
        }
        m_interpreter->Idle();
        FlushLog();
        m_dirty = false;
    }
}

void PrinterEngine::FlushLog()
{
    if (!m_log) return;
    m_log->Flush();
    if (m_logFailed) return;
    const std::string error = m_log->WriteError();
    if (error.empty()) return;
    m_logFailed = true;   // said once: a full disk stays full
    m_warnings += "cannot write the log" + (m_options.logPath.empty() ? "" : " " + m_options.logPath) + ": " + error + "\n";
}

// Called from inside the interpreter, with the lock held.
void PrinterEngine::SaveState()
{
    if (!m_store) return;
    std::string error;
    // Said again at each failure, until the warnings are taken or their bound is reached.
    if (!m_store->Save(m_state, &error) && m_warnings.size() < kMaxWarnings)
        m_warnings += "cannot save the state: " + error + "\n";
}

} // namespace tallyx::vprinter
