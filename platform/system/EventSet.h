#pragma once
// Manual-reset events for threads that hand work to one another: an event
// stays set until it is reset, and a waiter wakes for any of several events
// of one set. Every wait has a time limit, so a thread that waits can always
// come back to look at its stop flag.
#include <condition_variable>
#include <cstdint>
#include <mutex>

namespace platform {

class EventSet {
public:
    static constexpr int kMaxEvents = 32;

    // count events (at most kMaxEvents), all clear.
    explicit EventSet(int count);
    EventSet(const EventSet&) = delete;
    EventSet& operator=(const EventSet&) = delete;

    int Count() const { return m_count; }
    void Set(int index);
    void Reset(int index);
    bool IsSet(int index) const;
    void ResetAll();

    // Waits until one of the events whose bit is in mask is set, at most
    // timeoutUs. Returns the lowest such index, or -1 when the time ran out.
    int WaitAny(uint32_t mask, int64_t timeoutUs);
    // As WaitAny, and resets the event it returns.
    int WaitAnyAndReset(uint32_t mask, int64_t timeoutUs);
    // True when the event is set within timeoutUs.
    bool Wait(int index, int64_t timeoutUs) { return WaitAny(1u << index, timeoutUs) == index; }

private:
    int WaitLocked(std::unique_lock<std::mutex>& hold, uint32_t mask, int64_t timeoutUs);

    const int m_count;
    mutable std::mutex m_lock;
    std::condition_variable m_changed;
    uint32_t m_bits = 0;
};

// One manual-reset event.
class Event {
public:
    Event() : m_set(1) {}
    void Set() { m_set.Set(0); }
    void Reset() { m_set.Reset(0); }
    bool IsSet() const { return m_set.IsSet(0); }
    bool Wait(int64_t timeoutUs) { return m_set.Wait(0, timeoutUs); }

private:
    EventSet m_set;
};

}  // namespace platform
