#pragma once
// Stand-ins for the cutter run's delivery: a recorder of cycle numbers, and a gate that
// holds a delivery until the test lets it go.
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>

#include "jobs/CutterRun.h"
#include "tests/support/Timing.h"

namespace tallyx::test {

// The number a cycle prints, read back from its first eight bytes.
inline uint32_t CycleNumber(const Bytes& cycle) { return uint32_t(std::stoul(std::string(cycle.begin(), cycle.begin() + 8))); }

class Gate {
public:
    // Called by the delivery: counts the arrival, then waits until opened.
    void Arrive()
    {
        std::unique_lock lock(m_mutex);
        ++m_arrived;
        m_changed.notify_all();
        m_changed.wait(lock, [this] { return m_open; });
    }
    // Bounded: false when `count` deliveries did not arrive within 5 s.
    bool WaitArrived(int count)
    {
        std::unique_lock lock(m_mutex);
        return m_changed.wait_for(lock, std::chrono::seconds(5), [&] { return m_arrived >= count; });
    }
    void Open()
    {
        std::lock_guard lock(m_mutex);
        m_open = true;
        m_changed.notify_all();
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    int m_arrived = 0;
    bool m_open = false;
};

class Recorder {
public:
    // Records every cycle; `hold` (optional) is passed by the cycle numbered holdAt.
    DeliverCycle Deliver(Gate* hold = nullptr, uint32_t holdAt = 0)
    {
        return [this, hold, holdAt](const Bytes& cycle, std::stop_token) {
            const int inside = ++m_inside;
            {
                std::lock_guard lock(m_mutex);
                m_cycles.push_back(CycleNumber(cycle));
                if (inside > m_mostInside) m_mostInside = inside;
            }
            if (hold && CycleNumber(cycle) == holdAt) hold->Arrive();
            --m_inside;
            return Outcome{};
        };
    }
    std::vector<uint32_t> Cycles()
    {
        std::lock_guard lock(m_mutex);
        return m_cycles;
    }
    int MostAtOnce()
    {
        std::lock_guard lock(m_mutex);
        return m_mostInside;
    }

private:
    std::mutex m_mutex;
    std::vector<uint32_t> m_cycles;
    std::atomic<int> m_inside{0};
    int m_mostInside = 0;
};

} // namespace tallyx::test
