#pragma once
// The window's sender: one queue taken in the operator's order by one worker, so the
// window's thread never waits on a port, a socket or a reply. What comes of each job
// (the faults told on the way, then its outcome) waits in a second queue that the window
// drains when WakeFd() turns readable.
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <stop_token>
#include <thread>
#include <vector>

#include "link/Link.h"

namespace tallyx {

class Sender {
public:
    using Job = std::function<Outcome(Link& link, std::stop_token stop)>;
    // A job's next step, run by Pump on the draining thread once its outcome is in.
    using Then = std::function<void(const Outcome&)>;
    struct Event {
        uint64_t ticket = 0;   // Post's; 0 for a fault told outside any job
        bool done = false;     // false: a fault told on the way; true: the job's outcome
        Outcome outcome;
    };

    // Takes the link's Tell: faults told while a job runs come back as its events.
    explicit Sender(Link& link);
    ~Sender();   // the job under way is stopped, the rest dropped, the worker joined
    Sender(const Sender&) = delete;
    Sender& operator=(const Sender&) = delete;

    // Queues a job behind the others; its ticket names its events.
    uint64_t Post(Job job, Then then = {});
    // The delivery rule for one command, as a job.
    uint64_t SendToPrinter(Bytes bytes, Then then = {});
    // The rule's first step, on the calling thread: a failed USB open is told (through
    // Pump, at once) and cleared.
    Outcome CheckPortHandle();

    // Where Pump shows the faults told (the window's boxes).
    void SetWindowTell(Tell tell) { m_windowTell = std::move(tell); }
    // On the window's thread: every event so far, in order, told faults to the window's
    // Tell and outcomes to their jobs' Then.
    void Pump();
    // The jobs not begun are dropped (each ends as Stopped) and the one under way is asked
    // to stop at its next wait. Jobs posted afterwards run as usual.
    void Cancel();
    // The events so far, oldest first; the wake descriptor is cleared.
    std::vector<Event> Drain();
    // Readable while events wait: the window's notifier watches it.
    int WakeFd() const { return m_wakeFd; }
    // Nothing queued and nothing under way.
    bool Idle();
    // For tests and the command line: waits at most timeoutMs until Idle().
    bool WaitIdle(int timeoutMs);

    Link& GetLink() { return m_link; }

private:
    struct Queued {
        uint64_t ticket;
        Job job;
    };
    Tell m_windowTell;                     // the draining thread's alone
    std::map<uint64_t, Then> m_thens;      // the draining thread's alone
    std::deque<Event> m_pending;           // drained, not yet pumped
    void Run(std::stop_token stop);
    void Push(Event event);   // under m_mutex

    Link& m_link;
    std::mutex m_mutex;
    std::condition_variable_any m_wake;   // a job queued, or the worker asked to end
    std::condition_variable m_idle;
    std::deque<Queued> m_queue;
    std::vector<Event> m_events;
    uint64_t m_nextTicket = 1;
    uint64_t m_running = 0;       // the ticket under way, 0: none
    std::stop_source m_current;   // the job under way's
    int m_wakeFd = -1;
    std::jthread m_worker;        // last: joined before the rest goes away
};

} // namespace tallyx
