#pragma once
// Receipts' pictures encoded and written on a thread of their own, in the order they came,
// while the next receipts are drawn: `render` spent half its time in the encoding.
#include <QImage>
#include <condition_variable>
#include <cstdio>
#include <deque>
#include <mutex>
#include <string>
#include <thread>

namespace tallyx::vprinter {

class PictureWriter {
public:
    // Each path written is printed on `out` (when given), a failed write on `err`.
    PictureWriter(std::FILE* out, std::FILE* err);
    ~PictureWriter();
    PictureWriter(const PictureWriter&) = delete;
    PictureWriter& operator=(const PictureWriter&) = delete;

    // Waits while a few pictures are already waiting, so memory holds a few receipts, not
    // the file's. False, and nothing queued, once a write has failed.
    bool Submit(QImage picture, std::string path);
    // Every picture queued so far written (true) or a write failed (false, said on err).
    bool Finish();
    bool Failed() const;

private:
    struct Job {
        QImage picture;
        std::string path;
    };
    void Run();

    std::FILE* m_out;
    std::FILE* m_err;
    mutable std::mutex m_mutex;   // guards what follows
    std::condition_variable m_changed;
    std::deque<Job> m_jobs;
    bool m_busy = false;       // a job taken and not yet written
    bool m_failed = false;
    bool m_stopping = false;
    std::thread m_thread;      // last: starts once the rest is made
};

} // namespace tallyx::vprinter
