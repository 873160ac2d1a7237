#pragma once
// Waiting for another process (a program under test, a simulated unit) to
// get somewhere, without a fixed sleep that is too short on a busy machine.
#include "platform/system/Clock.h"

#include <functional>

namespace bvtest {

// How long a test waits for another process, thread or unit before it
// gives up: generous, so that a loaded two-core machine still gets there.
inline constexpr int kPatienceMs = 60000;

// True as soon as test() holds; false when it has not within ms milliseconds.
inline bool Eventually(const std::function<bool()>& test, int ms = kPatienceMs)
{
    for (int waited = 0; waited < ms; waited += 20) {
        if (test())
            return true;
        platform::SleepMs(20);
    }
    return false;
}

}  // namespace bvtest
