#include "app/SendLogStore.h"

namespace tallyx {

void SendLogStore::Attach(Link& link)
{
    link.m_onSend = [this](const SendRecord& record) { Record(record); };
}

void SendLogStore::Record(const SendRecord& record)
{
    const std::string line = SendLogLine(record);
    m_file.Append(line);
    std::lock_guard lock(m_mutex);
    if (m_lines.size() == kMaxLines) m_lines.erase(m_lines.begin());
    m_lines.push_back(line);
    ++m_generation;
}

std::vector<std::string> SendLogStore::Lines() const
{
    std::lock_guard lock(m_mutex);
    return m_lines;
}

size_t SendLogStore::Generation() const
{
    std::lock_guard lock(m_mutex);
    return m_generation;
}

void SendLogStore::Clear()
{
    std::lock_guard lock(m_mutex);
    m_lines.clear();
    ++m_generation;
}

SendLogStore& TheSendLog()
{
    static SendLogStore store;
    return store;
}

} // namespace tallyx
