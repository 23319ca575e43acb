#include "vprinter/render/PictureWriter.h"

#include "vprinter/render/ReceiptRenderer.h"

namespace tallyx::vprinter {

namespace {

// Enough to keep the writer busy while a receipt is drawn; a receipt is at most a few MB.
constexpr size_t kWaiting = 4;

} // namespace

PictureWriter::PictureWriter(std::FILE* out, std::FILE* err) : m_out(out), m_err(err), m_thread([this] { Run(); })
{
}

PictureWriter::~PictureWriter()
{
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_changed.notify_all();
    m_thread.join();
}

bool PictureWriter::Submit(QImage picture, std::string path)
{
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return m_failed || m_jobs.size() < kWaiting; });
    if (m_failed) return false;
    m_jobs.push_back({std::move(picture), std::move(path)});
    m_changed.notify_all();
    return true;
}

bool PictureWriter::Finish()
{
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return m_failed || (m_jobs.empty() && !m_busy); });
    return !m_failed;
}

bool PictureWriter::Failed() const
{
    std::lock_guard lock(m_mutex);
    return m_failed;
}

void PictureWriter::Run()
{
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_changed.wait(lock, [this] { return m_stopping || !m_jobs.empty(); });
        if (m_jobs.empty()) return;   // stopping, with nothing left to write
        Job job = std::move(m_jobs.front());
        m_jobs.pop_front();
        m_busy = true;
        lock.unlock();
        std::string error;
        const bool written = SaveReceiptPicture(job.picture, job.path, &error);
        if (!written) std::fprintf(m_err, "tallyx-vprinter: cannot write %s: %s\n", job.path.c_str(), error.c_str());
        else if (m_out) std::fprintf(m_out, "%s\n", job.path.c_str());
        job = {};   // the picture let go of here, not under the lock
        lock.lock();
        m_busy = false;
        if (!written) {
            // A disk that is full stays full: what waits is dropped, nothing more is taken.
            m_failed = true;
            m_jobs.clear();
        }
        m_changed.notify_all();
    }
}

} // namespace tallyx::vprinter
