#pragma once
// Carries out a script's events on a thread of its own: the time events when they fall due,
// the receipt events once that many receipts are finished. Each event happens once.
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "vprinter/device/Script.h"

namespace tallyx::vprinter {

class ScriptRunner {
public:
    // `act` is called on the runner's thread, one event at a time, never with a lock held.
    ScriptRunner(std::vector<ScriptEvent> events, std::function<void(const ScriptEvent&)> act);
    ~ScriptRunner();
    ScriptRunner(const ScriptRunner&) = delete;
    ScriptRunner& operator=(const ScriptRunner&) = delete;

    void Start();   // the clock of time:S starts here
    void Stop();
    // Any thread, any lock held: so many receipts are finished now.
    void ReceiptsFinished(int count);

private:
    void Run();

    std::vector<ScriptEvent> m_events;
    std::vector<bool> m_done;
    std::function<void(const ScriptEvent&)> m_act;
    std::chrono::steady_clock::time_point m_start;

    std::mutex m_mutex;
    std::condition_variable m_wake;
    int m_receipts = 0;
    bool m_stop = false;
    std::thread m_thread;
};

} // namespace tallyx::vprinter
