#include "vprinter/ScriptRunner.h"

namespace tallyx::vprinter {

ScriptRunner::ScriptRunner(std::vector<ScriptEvent> events, std::function<void(const ScriptEvent&)> act)
    : m_events(std::move(events)), m_done(m_events.size(), false), m_act(std::move(act))
{
}

ScriptRunner::~ScriptRunner()
{
    Stop();
}

void ScriptRunner::Start()
{
    m_start = std::chrono::steady_clock::now();
    m_stop = false;
    m_thread = std::thread([this] { Run(); });
}

void ScriptRunner::Stop()
{
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_wake.notify_all();
    if (m_thread.joinable()) m_thread.join();
}

void ScriptRunner::ReceiptsFinished(int count)
{
    {
        std::lock_guard lock(m_mutex);
        m_receipts = count;
    }
    m_wake.notify_all();
}

void ScriptRunner::Run()
{
    using Clock = std::chrono::steady_clock;
    std::unique_lock lock(m_mutex);
    while (!m_stop) {
        // The first event due, in the order written; else the next time event's moment.
        const auto now = Clock::now();
        std::optional<size_t> due;
        std::optional<Clock::time_point> next;
        for (size_t i = 0; i < m_events.size() && !due; ++i) {
            if (m_done[i]) continue;
            const ScriptEvent& e = m_events[i];
            if (e.afterReceipt) {
                if (m_receipts >= e.receipt) due = i;
                continue;
            }
            const auto at = m_start + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(e.seconds));
            if (at <= now) due = i;
            else if (!next || at < *next) next = at;
        }
        if (due) {
            m_done[*due] = true;
            lock.unlock();
            m_act(m_events[*due]);
            lock.lock();
            continue;
        }
        const int seen = m_receipts;
        const auto woken = [&] { return m_stop || m_receipts != seen; };
        if (next) m_wake.wait_until(lock, *next, woken);
        else m_wake.wait(lock, woken);
    }
}

} // namespace tallyx::vprinter
