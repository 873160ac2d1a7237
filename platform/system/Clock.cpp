#include "platform/system/Clock.h"

#include <atomic>
#include <cerrno>
#include <ctime>

namespace platform {
namespace {

class MachineClock : public ClockSource {
public:
    LocalTime Now() override
    {
        timespec ts;
        clock_gettime(CLOCK_REALTIME, &ts);
        struct tm t;
        localtime_r(&ts.tv_sec, &t);
        return {t.tm_year + 1900, t.tm_mon + 1, t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec,
                static_cast<int>(ts.tv_nsec / 1000000), t.tm_wday};
    }
    uint32_t TickMs() override { return static_cast<uint32_t>(MonotonicUs() / 1000); }
    int64_t MonotonicUs() override
    {
        timespec ts;
        clock_gettime(CLOCK_MONOTONIC, &ts);
        return static_cast<int64_t>(ts.tv_sec) * 1000000 + ts.tv_nsec / 1000;
    }
};

MachineClock g_machine;
std::atomic<ClockSource*> g_current{nullptr};

}  // namespace

ClockSource& SystemClock() { return g_machine; }

ClockSource& Clock()
{
    ClockSource* c = g_current.load(std::memory_order_acquire);
    return c ? *c : g_machine;
}

void SetClock(ClockSource* source) { g_current.store(source, std::memory_order_release); }

int64_t HighResCounter()
{
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<int64_t>(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}

int64_t HighResFrequency() { return 1000000000; }

void SleepMs(unsigned milliseconds)
{
    timespec ts{static_cast<time_t>(milliseconds / 1000), static_cast<long>(milliseconds % 1000) * 1000000};
    while (nanosleep(&ts, &ts) != 0 && errno == EINTR) {
    }
}

}  // namespace platform
