#pragma once
// The cutter endurance run: numbered cut cycles on one worker thread, with the count and
// the delay re-read before every cycle and a stop that ends any pause at once.
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <stop_token>
#include <thread>

#include "commands/CutCycle.h"
#include "link/Outcome.h"
#include "res/Types.h"

namespace tallyx {

// Hands one cycle to the printer; may be cut short by the stop (LinkFault::Stopped).
using DeliverCycle = std::function<Outcome(const Bytes& cycle, std::stop_token stop)>;

struct CutProgress {
    uint32_t cycle = 0;      // the cycle just handed over (0: the run has begun)
    uint32_t sent = 0;       // cycles delivered so far
    uint32_t count = 0;      // the count as it stands now
    uint32_t failures = 0;   // cycles the printer could not be given
    bool ended = false;      // the last report of the run
    bool stopped = false;    // ended by a stop before the count was reached
};
// Called on the worker thread after every cycle; it must not touch any window itself.
using ReportProgress = std::function<void(const CutProgress&)>;

class CutterRun {
public:
    CutterRun() = default;
    CutterRun(const CutterRun&) = delete;
    CutterRun& operator=(const CutterRun&) = delete;
    // Stops a run still going and waits for its cycle in progress.
    ~CutterRun();

    // Rewritten by every Start press, read by the worker before each cycle.
    std::atomic<uint32_t> g_cutCount{kCutCountDefault};
    std::atomic<uint32_t> g_cutDelayMs{kCutDelayDefaultMs};

    // Starts the worker. Refused (false) while an earlier worker has not ended, even one
    // already asked to stop: there is never a second worker beside it.
    bool Start(DeliverCycle deliver, ReportProgress progress = {});
    // The run ends after the cycle in progress; a pause ends at once.
    void RequestStop();
    bool Running() const { return m_running.load(); }
    bool StopRequested() const { return m_thread.get_stop_token().stop_requested(); }
    // Until the worker has ended.
    void Wait();

    uint32_t Sent() const { return m_sent.load(); }
    uint32_t Failures() const { return m_failures.load(); }

private:
    void Work(std::stop_token stop, const DeliverCycle& deliver, const ReportProgress& progress);

    std::atomic<bool> m_running{false};
    std::atomic<uint32_t> m_sent{0};
    std::atomic<uint32_t> m_failures{0};
    std::mutex m_pauseLock;
    std::condition_variable_any m_pause;
    std::jthread m_thread;   // last: stopped and joined before the rest goes
};

} // namespace tallyx
