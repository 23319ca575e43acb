#include "vprinter/device/CommandLog.h"

#include <cerrno>
#include <cstring>
#include <ctime>
#include <nlohmann/json.hpp>

namespace tallyx::vprinter {

namespace {

std::string IsoTime(std::chrono::system_clock::time_point when)
{
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(when.time_since_epoch()).count();
    const std::time_t secs = std::time_t(ms / 1000);
    // Commands come hundreds a second: the date and time up to the second is made once a second.
    thread_local std::time_t lastSecs = -1;
    thread_local char prefix[48];
    if (secs != lastSecs) {
        std::tm utc{};
        gmtime_r(&secs, &utc);
        std::snprintf(prefix, sizeof prefix, "%04d-%02d-%02dT%02d:%02d:%02d.", utc.tm_year + 1900, utc.tm_mon + 1,
                      utc.tm_mday, utc.tm_hour, utc.tm_min, utc.tm_sec);
        lastSecs = secs;
    }
    const int milli = int(ms % 1000);
    if (milli < 0) {   // a clock before 1970, written as it always was
        char text[64];
        std::snprintf(text, sizeof text, "%s%03dZ", prefix, milli);
        return text;
    }
    std::string text = prefix;
    text += char('0' + milli / 100);
    text += char('0' + milli / 10 % 10);
    text += char('0' + milli % 10);
    text += 'Z';
    return text;
}

// The length of the well-formed UTF-8 character at `p` (at most `n` bytes), 0 if it is not one.
size_t Utf8Length(const unsigned char* p, size_t n)
{
    const unsigned char b = p[0];
    auto trail = [&](size_t i, unsigned char lo = 0x80, unsigned char hi = 0xBF) {
        return i < n && p[i] >= lo && p[i] <= hi;
    };
    if (b >= 0xC2 && b <= 0xDF) return trail(1) ? 2 : 0;
    if (b >= 0xE0 && b <= 0xEF) {
        const unsigned char lo = b == 0xE0 ? 0xA0 : 0x80, hi = b == 0xED ? 0x9F : 0xBF;   // no overlong, no surrogate
        return trail(1, lo, hi) && trail(2) ? 3 : 0;
    }
    if (b >= 0xF0 && b <= 0xF4) {
        const unsigned char lo = b == 0xF0 ? 0x90 : 0x80, hi = b == 0xF4 ? 0x8F : 0xBF;    // up to U+10FFFF
        return trail(1, lo, hi) && trail(2) && trail(3) ? 4 : 0;
    }
    return 0;
}

// `text` as a JSON string, as the json library writes it. Printable text and well-formed UTF-8
// are written here; control characters and broken UTF-8 are left to the library, which
// replaces what is broken.
void AppendString(std::string& out, const std::string& text)
{
    const size_t start = out.size();
    out += '"';
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    for (size_t i = 0, n = text.size(); i < n;) {
        const unsigned char b = p[i];
        if (b >= 0x20 && b < 0x80) {
            if (b == '"' || b == '\\') out += '\\';
            out += char(b);
            ++i;
            continue;
        }
        const size_t length = b < 0x20 ? 0 : Utf8Length(p + i, n - i);
        if (length == 0) {
            out.resize(start);
            out += nlohmann::json(text).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
            return;
        }
        out.append(text, i, length);
        i += length;
    }
    out += '"';
}

} // namespace

// Written field by field: the same text the json library makes of the record as an ordered
// object, without building one for every command.
std::string LogLine(uint64_t seq, std::chrono::system_clock::time_point when, const LogRecord& r,
                    std::string_view file)
{
    std::string line;
    line.reserve(128 + 4 * r.bytes.size() + r.meaning.size());
    line += "{\"seq\":";
    line += std::to_string(seq);
    line += ",\"time\":";
    AppendString(line, IsoTime(when));
    line += ",\"link\":";
    AppendString(line, r.link);
    if (!file.empty()) {
        line += ",\"file\":";
        AppendString(line, std::string(file));
        line += ",\"receipt\":";
        line += std::to_string(r.receipt);
    }
    line += ",\"hex\":";
    AppendString(line, HexPairs(r.bytes));
    line += ",\"length\":";
    line += std::to_string(r.length);
    line += ",\"mnemonic\":";
    AppendString(line, r.mnemonic);
    line += ",\"meaning\":";
    AppendString(line, r.meaning);
    if (r.bytes.size() < r.length) line += ",\"truncated\":true";
    line += '}';
    return line;
}

CommandLog::CommandLog(const std::string& path, bool truncate)
{
    if (path.empty() || path == "-") {
        m_file = stdout;
        return;
    }
    m_file = std::fopen(path.c_str(), truncate ? "w" : "a");
    m_owned = true;
}

CommandLog::~CommandLog()
{
    Close();
}

bool CommandLog::Close()
{
    std::lock_guard lock(m_mutex);
    WriteHeld();
    if (m_owned && m_file && std::fclose(m_file) != 0 && m_errno == 0) m_errno = errno ? errno : EIO;
    if (m_owned) m_file = nullptr;
    return m_errno == 0;
}

void CommandLog::SetFile(std::string file)
{
    std::lock_guard lock(m_mutex);
    m_sourceFile = std::move(file);
}

std::string CommandLog::WriteError()
{
    std::lock_guard lock(m_mutex);
    return m_errno == 0 ? std::string() : std::strerror(m_errno);
}

void CommandLog::Write(const LogRecord& record)
{
    std::lock_guard lock(m_mutex);
    if (!m_file) return;
    m_held += LogLine(++m_seq, std::chrono::system_clock::now(), record, m_sourceFile);
    m_held += '\n';
    if (m_held.size() >= kMaxHeldLog) WriteHeld();
}

void CommandLog::Flush()
{
    std::lock_guard lock(m_mutex);
    WriteHeld();
}

// Whole lines only, so that a reader following the file never sees half of one.
void CommandLog::WriteHeld()
{
    if (m_held.empty() || !m_file) return;
    errno = 0;
    const bool written = std::fwrite(m_held.data(), 1, m_held.size(), m_file) == m_held.size();
    if ((std::fflush(m_file) != 0 || !written) && m_errno == 0) m_errno = errno ? errno : EIO;
    m_held.clear();
}

} // namespace tallyx::vprinter
