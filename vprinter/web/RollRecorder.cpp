#include "vprinter/web/RollRecorder.h"

#include <algorithm>
#include <utility>

namespace tallyx::vprinter {

size_t WebReceipt::Footprint() const
{
    size_t total = sizeof *this + png.size() + bytes.size();
    for (const LogRecord& r : log) total += sizeof r + r.bytes.size() + r.meaning.size() + r.mnemonic.size();
    return total;
}

void RollRecorder::Input(const uint8_t* data, size_t n, std::string_view source)
{
    const size_t room = kMaxWebReceiptBytes - std::min(kMaxWebReceiptBytes, m_stream.size());
    const size_t keep = m_unkept > 0 ? 0 : std::min(room, n);   // kept bytes stay one run
    m_stream.append(reinterpret_cast<const char*>(data), keep);
    m_unkept += n - keep;
    AddSource(source);
    m_lastSource = source;
}

void RollRecorder::AddSource(std::string_view source)
{
    if (std::find(m_sources.begin(), m_sources.end(), source) != m_sources.end()) return;
    if (m_sources.size() < kMaxWebSources) m_sources.emplace_back(source);
    else ++m_moreSources;
}

std::optional<WebReceipt> RollRecorder::Log(const LogRecord& record)
{
    m_claimed += record.length;
    if (m_logCount++ < kMaxWebLogLines) m_log.push_back(record);
    if (!m_closing) return std::nullopt;
    WebReceipt receipt = std::exchange(m_closing, std::nullopt).value();
    return Finish(std::move(receipt));
}

std::vector<WebReceipt> RollRecorder::Done(std::string cut, std::string png, int width, int height, int64_t timeMs)
{
    std::vector<WebReceipt> finished;
    if (m_closing) finished.push_back(Finish(*std::exchange(m_closing, std::nullopt)));
    WebReceipt receipt;
    receipt.timeMs = timeMs;
    receipt.cut = std::move(cut);
    receipt.png = std::move(png);
    receipt.width = width;
    receipt.height = height;
    if (receipt.cut == "none") finished.push_back(Finish(std::move(receipt)));
    else m_closing = std::move(receipt);
    return finished;
}

// The receipt takes the bytes the log has accounted for; what follows them is the next one's.
WebReceipt RollRecorder::Finish(WebReceipt receipt)
{
    const size_t held = m_stream.size() + m_unkept;
    const size_t claimed = std::min(m_claimed, held);
    const size_t taken = std::min(claimed, m_stream.size());
    receipt.bytes = m_stream.substr(0, taken);
    receipt.byteCount = claimed;
    receipt.bytesFromStart = !m_frontLost;
    m_stream.erase(0, taken);
    m_unkept -= claimed - taken;
    // Uncounted bytes left with nothing kept before them: the next receipt lacks its start.
    m_frontLost = m_stream.empty() && m_unkept > 0;
    m_claimed = 0;
    receipt.log = std::move(m_log);
    receipt.logCount = m_logCount;
    m_log.clear();
    m_logCount = 0;
    receipt.sources = std::move(m_sources);
    receipt.moreSources = m_moreSources;
    m_sources.clear();
    m_moreSources = 0;
    if (held > claimed) m_sources.push_back(m_lastSource);   // the next receipt has begun
    return receipt;
}

} // namespace tallyx::vprinter
