#include "vprinter/CommandLog.h"

#include <ctime>
#include <nlohmann/json.hpp>

namespace tallyx::vprinter {

namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

std::string Hex(const Bytes& bytes)
{
    std::string out;
    for (uint8_t b : bytes) {
        if (!out.empty()) out += ' ';
        out += kHexDigits[b >> 4];
        out += kHexDigits[b & 0x0F];
    }
    return out;
}

std::string IsoTime(std::chrono::system_clock::time_point when)
{
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(when.time_since_epoch()).count();
    const std::time_t secs = std::time_t(ms / 1000);
    std::tm utc{};
    gmtime_r(&secs, &utc);
    char text[64];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d.%03dZ", utc.tm_year + 1900, utc.tm_mon + 1,
                  utc.tm_mday, utc.tm_hour, utc.tm_min, utc.tm_sec, int(ms % 1000));
    return text;
}

} // namespace

std::string LogLine(uint64_t seq, std::chrono::system_clock::time_point when, const LogRecord& r)
{
    nlohmann::ordered_json j = {
        {"seq", seq},
        {"time", IsoTime(when)},
        {"link", r.link},
        {"hex", Hex(r.bytes)},
        {"length", r.length},
        {"mnemonic", r.mnemonic},
        {"meaning", r.meaning},
    };
    if (r.bytes.size() < r.length) j["truncated"] = true;
    // Printed text may hold broken characters; they must not stop the log.
    return j.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
}

CommandLog::CommandLog(const std::string& path)
{
    if (path.empty() || path == "-") {
        m_file = stdout;
        return;
    }
    m_file = std::fopen(path.c_str(), "a");
    m_owned = true;
}

CommandLog::~CommandLog()
{
    if (m_owned && m_file) std::fclose(m_file);
}

void CommandLog::Write(const LogRecord& record)
{
    std::lock_guard lock(m_mutex);
    if (!m_file) return;
    const std::string line = LogLine(++m_seq, std::chrono::system_clock::now(), record);
    std::fputs(line.c_str(), m_file);
    std::fputc('\n', m_file);
    std::fflush(m_file);
}

} // namespace tallyx::vprinter
