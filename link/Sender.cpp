#include "link/Sender.h"

#include <sys/eventfd.h>
#include <unistd.h>

namespace tallyx {

Sender::Sender(Link& link) : m_link(link), m_wakeFd(::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC))
{
    m_link.SetTell([this](const Outcome& told) {
        std::lock_guard lock(m_mutex);
        Push(Event{m_running, false, told});
    });
    m_worker = std::jthread([this](std::stop_token stop) { Run(stop); });
}

Sender::~Sender()
{
    Cancel();
    m_worker.request_stop();
    m_worker.join();
    m_link.SetTell({});
    if (m_wakeFd >= 0) ::close(m_wakeFd);
}

void Sender::Push(Event event)
{
    m_events.push_back(event);
    const uint64_t one = 1;
    // A full counter is still readable: the window drains all that waits.
    [[maybe_unused]] const ssize_t w = ::write(m_wakeFd, &one, sizeof one);
}

uint64_t Sender::Post(Job job, Then then)
{
    std::lock_guard lock(m_mutex);
    const uint64_t ticket = m_nextTicket++;
    if (then) m_thens.emplace(ticket, std::move(then));
    m_queue.push_back(Queued{ticket, std::move(job)});
    m_wake.notify_one();
    return ticket;
}

uint64_t Sender::SendToPrinter(Bytes bytes, Then then)
{
    return Post([bytes = std::move(bytes)](Link& link, std::stop_token stop) { return link.SendToPrinter(bytes, stop); },
                std::move(then));
}

Outcome Sender::CheckPortHandle()
{
    const Outcome checked = m_link.CheckPortHandle();
    if (!checked) Pump();
    return checked;
}

void Sender::Pump()
{
    // One at a time from a queue of its own: a box shown here runs the event loop, and a
    // Pump inside it must take the next event, not one that came later.
    for (Event& event : Drain()) m_pending.push_back(event);
    while (!m_pending.empty()) {
        const Event event = m_pending.front();
        m_pending.pop_front();
        if (!event.done) {
            if (m_windowTell) m_windowTell(event.outcome);
            continue;
        }
        const auto then = m_thens.find(event.ticket);
        if (then == m_thens.end()) continue;
        const Then next = std::move(then->second);
        m_thens.erase(then);
        next(event.outcome);
    }
}

void Sender::Cancel()
{
    std::lock_guard lock(m_mutex);
    for (const Queued& q : m_queue) Push(Event{q.ticket, true, Outcome{LinkFault::Stopped}});
    m_queue.clear();
    if (m_running) m_current.request_stop();
    m_idle.notify_all();
}

std::vector<Sender::Event> Sender::Drain()
{
    std::lock_guard lock(m_mutex);
    uint64_t count = 0;
    [[maybe_unused]] const ssize_t r = ::read(m_wakeFd, &count, sizeof count);
    return std::exchange(m_events, {});
}

bool Sender::Idle()
{
    std::lock_guard lock(m_mutex);
    return m_queue.empty() && m_running == 0;
}

bool Sender::WaitIdle(int timeoutMs)
{
    std::unique_lock lock(m_mutex);
    return m_idle.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                           [this] { return m_queue.empty() && m_running == 0; });
}

void Sender::Run(std::stop_token stop)
{
    std::unique_lock lock(m_mutex);
    for (;;) {
        if (!m_wake.wait(lock, stop, [this] { return !m_queue.empty(); })) return;
        Queued next = std::move(m_queue.front());
        m_queue.pop_front();
        m_running = next.ticket;
        m_current = std::stop_source();
        const std::stop_token jobStop = m_current.get_token();
        // The worker's own end stops the job too.
        std::stop_callback onEnd(stop, [source = m_current]() mutable { source.request_stop(); });
        lock.unlock();
        const Outcome outcome = next.job(m_link, jobStop);
        lock.lock();
        Push(Event{next.ticket, true, outcome});
        m_running = 0;
        m_idle.notify_all();
    }
}

} // namespace tallyx
