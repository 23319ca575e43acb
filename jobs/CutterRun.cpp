#include "jobs/CutterRun.h"

#include <chrono>

#include "commands/CutCycle.h"

namespace tallyx {

CutterRun::~CutterRun()
{
    RequestStop();
    Wait();
}

bool CutterRun::Start(DeliverCycle deliver, ReportProgress progress)
{
    if (m_running.load()) return false;
    if (m_thread.joinable()) m_thread.join();   // ended already: returns at once
    m_sent = 0;
    m_failures = 0;
    m_running = true;
    m_thread = std::jthread([this, deliver = std::move(deliver), progress = std::move(progress)](std::stop_token stop) {
        Work(stop, deliver, progress);
    });
    return true;
}

void CutterRun::RequestStop() { m_thread.request_stop(); }

void CutterRun::Wait()
{
    if (m_thread.joinable()) m_thread.join();
}

void CutterRun::Work(std::stop_token stop, const DeliverCycle& deliver, const ReportProgress& progress)
{
    CutProgress state;
    auto report = [&](uint32_t cycle) {
        state.cycle = cycle;
        state.count = g_cutCount.load();
        if (progress) progress(state);
    };
    report(0);
    uint32_t i = 1;
    // The bound is read again before every cycle: a Start press may have lowered it.
    for (; i <= g_cutCount.load(); ++i) {
        if (stop.stop_requested()) break;   // a disconnect may come during the last cycle's report
        const Outcome outcome = deliver(BuildCutCycle(i), stop);
        if (outcome.ok()) m_sent = ++state.sent;
        else if (outcome.fault != LinkFault::Stopped) m_failures = ++state.failures;
        report(i);

        std::unique_lock lock(m_pauseLock);
        const auto pause = std::chrono::milliseconds(g_cutDelayMs.load() + kCutPauseExtraMs);
        m_pause.wait_for(lock, stop, pause, [] { return false; });
        if (stop.stop_requested()) break;
    }
    state.ended = true;
    state.stopped = stop.stop_requested() && i <= g_cutCount.load();
    report(state.sent + state.failures);
    m_running = false;
}

} // namespace tallyx
