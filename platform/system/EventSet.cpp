#include "platform/system/EventSet.h"

#include <algorithm>
#include <chrono>

namespace platform {

EventSet::EventSet(int count) : m_count(std::clamp(count, 1, kMaxEvents)) {}

void EventSet::Set(int index)
{
    if (index < 0 || index >= m_count)
        return;
    std::lock_guard<std::mutex> hold(m_lock);
    m_bits |= 1u << index;
    m_changed.notify_all();
}

void EventSet::Reset(int index)
{
    if (index < 0 || index >= m_count)
        return;
    std::lock_guard<std::mutex> hold(m_lock);
    m_bits &= ~(1u << index);
}

bool EventSet::IsSet(int index) const
{
    if (index < 0 || index >= m_count)
        return false;
    std::lock_guard<std::mutex> hold(m_lock);
    return (m_bits >> index) & 1u;
}

void EventSet::ResetAll()
{
    std::lock_guard<std::mutex> hold(m_lock);
    m_bits = 0;
}

int EventSet::WaitLocked(std::unique_lock<std::mutex>& hold, uint32_t mask, int64_t timeoutUs)
{
    auto ready = [&] { return (m_bits & mask) != 0; };
    if (!ready() && timeoutUs > 0)
        m_changed.wait_for(hold, std::chrono::microseconds(timeoutUs), ready);
    uint32_t hit = m_bits & mask;
    return hit ? __builtin_ctz(hit) : -1;
}

int EventSet::WaitAny(uint32_t mask, int64_t timeoutUs)
{
    std::unique_lock<std::mutex> hold(m_lock);
    return WaitLocked(hold, mask, timeoutUs);
}

int EventSet::WaitAnyAndReset(uint32_t mask, int64_t timeoutUs)
{
    std::unique_lock<std::mutex> hold(m_lock);
    int index = WaitLocked(hold, mask, timeoutUs);
    if (index >= 0)
        m_bits &= ~(1u << index);
    return index;
}

}  // namespace platform
