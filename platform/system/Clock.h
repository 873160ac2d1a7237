#pragma once
// Wall clock, millisecond tick and high-resolution counter of the machine.
// Tests replace the source to drive time by hand.
#include <cstdint>

namespace platform {

struct LocalTime {
    int year = 0;
    int month = 0;        // 1..12
    int day = 0;          // 1..31
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;
    int dayOfWeek = 0;    // 0 = Sunday
};

class ClockSource {
public:
    virtual ~ClockSource() = default;
    virtual LocalTime Now() = 0;
    // Milliseconds since some start, wrapping at 2^32 like the system tick.
    virtual uint32_t TickMs() = 0;
    // Monotonic microseconds; never moves with the wall clock.
    virtual int64_t MonotonicUs() = 0;
};

// The machine's own clock.
ClockSource& SystemClock();

// The clock in use; SystemClock() unless a test set another.
ClockSource& Clock();
// Replaces the clock in use (nullptr restores the machine's). Not thread-safe:
// tests set it before the code under test runs.
void SetClock(ClockSource* source);

inline LocalTime Now() { return Clock().Now(); }
inline uint32_t TickCount() { return Clock().TickMs(); }
inline int64_t MonotonicUs() { return Clock().MonotonicUs(); }

// High-resolution counter and its frequency in counts per second, for timing
// on the line; always from the machine, never replaced.
int64_t HighResCounter();
int64_t HighResFrequency();

void SleepMs(unsigned milliseconds);

// A clock for tests: time moves only when told.
class ManualClock : public ClockSource {
public:
    LocalTime now{2026, 1, 1, 12, 0, 0, 0, 4};
    uint32_t tick = 0;
    int64_t monotonic = 0;

    LocalTime Now() override { return now; }
    uint32_t TickMs() override { return tick; }
    int64_t MonotonicUs() override { return monotonic; }

    void Advance(uint32_t ms)
    {
        tick += ms;
        monotonic += static_cast<int64_t>(ms) * 1000;
    }
};

}  // namespace platform
