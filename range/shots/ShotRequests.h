#pragma once
// Asking a lane's target for the shots the range control has not received.
// The target tells with every shot how many shots and skips its card holds;
// the slots in between that never arrived are marked skipped, and the tick
// asks for them again, a few at a time, each with a timer that waits for the
// answer before the shot is asked for once more.
#include <cstdint>

struct ShotRequest {
    int first = 0;  // shot numbers 1..250; 0: nothing to ask for
    int last = 0;
};

namespace ShotRequests {

constexpr int kSlots = 250;
constexpr uint8_t kFree = 0;
constexpr uint8_t kSkipped = 254;
// Requests waiting for their answer; no new one starts while this many run.
constexpr int kMostRunning = 3;
// Shots one request may cover beyond its first, less those still running.
constexpr int kSpan = 12;

// The ticks a shot waits for its answer when it is the n-th request running:
// 15 ticks for the first, then 17, 20, 22, ...
constexpr int32_t WaitTicks(int running) { return (5 * (running + 5)) / 2; }

// Plans the next request over the lane's slot states (the list ends at the
// first free slot) and its timers: a shot is missing when it is skipped and
// its timer is 0. Sets the timers of the shots asked for.
ShotRequest Plan(const uint8_t states[kSlots], int32_t timers[kSlots]);

}  // namespace ShotRequests
