#include "range/shots/ShotRequests.h"

namespace ShotRequests {

ShotRequest Plan(const uint8_t states[kSlots], int32_t timers[kSlots])
{
    int running = 0;
    int first = -1;
    for (int i = 0; i < kSlots && states[i] != kFree; ++i) {
        if (states[i] != kSkipped)
            continue;
        if (timers[i] != 0)
            ++running;
        else if (first < 0)
            first = i;
    }
    if (running >= kMostRunning || first < 0)
        return {};

    auto missing = [&](int i) { return states[i] == kSkipped && timers[i] == 0; };
    int last = first;
    while (last + 1 < kSlots && missing(last + 1))
        ++last;
    if (last > first - running + kSpan)
        last = first - running + kSpan;

    for (int i = first; i <= last; ++i)
        timers[i] = WaitTicks(++running);
    return {first + 1, last + 1};
}

}  // namespace ShotRequests
