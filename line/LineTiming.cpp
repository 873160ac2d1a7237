#include "line/LineTiming.h"

#include "platform/system/Clock.h"

namespace {

const LineTiming kTimings[] = {
    // baud  retry byte extra rts echo answer read frame partial error idle
    {9600, 1, 115, 115, 12, 12, 45, 1, 15, 40, 40, 500},
    {4800, 1, 230, 230, 25, 20, 100, 1, 15, 80, 80, 500},
};

}  // namespace

const LineTiming& LineTiming::ForBaud(int baud) { return baud == 4800 ? kTimings[1] : kTimings[0]; }

const LineTiming& LineTiming::ForMode(int mode) { return ForBaud((mode & 0x10) ? 4800 : 9600); }

int64_t LineTiming::Ms(int ms) const { return static_cast<int64_t>(ms) * platform::HighResFrequency() / 1000; }

int64_t LineTiming::Bytes(int count, int units10us) const
{
    return static_cast<int64_t>(count) * units10us * platform::HighResFrequency() / 100000;
}
