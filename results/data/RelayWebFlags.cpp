#include "results/data/RelayWebFlags.h"

namespace results {

namespace {
constexpr int kMaxEvent = 999;
constexpr int kMaxRelayNumber = 1000000;
}  // namespace

bool RelayWebFlags::Valid(int event, int relayNumber)
{
    return event >= 0 && event <= kMaxEvent && relayNumber >= 0 && relayNumber <= kMaxRelayNumber;
}

void RelayWebFlags::Set(int event, int relayNumber)
{
    if (!Valid(event, relayNumber))
        return;
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_rows.size() <= static_cast<size_t>(event))
        m_rows.resize(static_cast<size_t>(event) + 1);
    auto& row = m_rows[static_cast<size_t>(event)];
    if (row.size() <= static_cast<size_t>(relayNumber))
        row.resize(static_cast<size_t>(relayNumber) + 1, 0);
    row[static_cast<size_t>(relayNumber)] = 1;
}

void RelayWebFlags::Clear(int event, int relayNumber)
{
    if (!Valid(event, relayNumber))
        return;
    std::lock_guard<std::mutex> lock(m_mutex);
    if (static_cast<size_t>(event) < m_rows.size() &&
        static_cast<size_t>(relayNumber) < m_rows[static_cast<size_t>(event)].size())
        m_rows[static_cast<size_t>(event)][static_cast<size_t>(relayNumber)] = 0;
}

bool RelayWebFlags::Get(int event, int relayNumber) const
{
    if (!Valid(event, relayNumber))
        return false;
    std::lock_guard<std::mutex> lock(m_mutex);
    return static_cast<size_t>(event) < m_rows.size() &&
           static_cast<size_t>(relayNumber) < m_rows[static_cast<size_t>(event)].size() &&
           m_rows[static_cast<size_t>(event)][static_cast<size_t>(relayNumber)] != 0;
}

void RelayWebFlags::ClearAll()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_rows.clear();
}

}  // namespace results
