// Requests for missing shots: which shots are asked for, and how long each
// waits for its answer.
#include "range/shots/ShotRequests.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A lane's slots from a picture: 'o' a shot, 's' skipped and waiting to be
// asked for, 'w' skipped and asked for (its timer runs), '.' free.
struct Slots {
    uint8_t states[250] = {};
    int32_t timers[250] = {};
    explicit Slots(const std::string& picture)
    {
        for (size_t i = 0; i < picture.size(); ++i) {
            char c = picture[i];
            states[i] = c == 'o' ? 128 : (c == 's' || c == 'w') ? 254 : 0;
            timers[i] = c == 'w' ? 9 : 0;
        }
    }
    std::vector<int32_t> Timers(int from, int to) const { return {timers + from - 1, timers + to}; }
};

TEST(ShotRequests, WhatIsAskedFor)
{
    struct Case {
        const char* name;
        std::string picture;
        int first, last;
        std::vector<int32_t> waits;  // timers of the shots asked for
    };
    const Case cases[] = {
        {"nothing missing", "ooooo", 0, 0, {}},
        {"empty card", "", 0, 0, {}},
        {"one gap", "oosoo", 3, 3, {15}},
        {"a run of gaps", "ossso", 2, 4, {15, 17, 20}},
        {"first gap only", "osoosso", 2, 2, {15}},
        // A request already running counts before the new ones.
        {"one running", "owsso", 3, 4, {17, 20}},
        {"two running", "wwsss", 3, 5, {20, 22, 25}},
        {"three running: wait", "wowows", 0, 0, {}},
        // A skipped slot after the end of the list is no shot the target has.
        {"gap after the end", "oo.s", 0, 0, {}},
        // One request covers the first gap and at most twelve after it.
        {"long run cut", "o" + std::string(30, 's'), 2, 14,
         {15, 17, 20, 22, 25, 27, 30, 32, 35, 37, 40, 42, 45}},
        {"long run cut for the running", "w" + std::string(30, 's'), 2, 13,
         {17, 20, 22, 25, 27, 30, 32, 35, 37, 40, 42, 45}},
        {"up to the last slot", std::string(248, 'o') + "ss", 249, 250, {15, 17}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Slots slots(c.picture);
        ShotRequest r = ShotRequests::Plan(slots.states, slots.timers);
        EXPECT_EQ(r.first, c.first);
        EXPECT_EQ(r.last, c.last);
        if (c.first != 0)
            EXPECT_EQ(slots.Timers(c.first, c.last), c.waits);
    }
}

// A gap is asked for again once its timer ran out, and never while it runs.
TEST(ShotRequests, AskedAgainAfterItsWait)
{
    Slots slots("osso");
    ShotRequest r = ShotRequests::Plan(slots.states, slots.timers);
    EXPECT_EQ(r.first, 2);
    EXPECT_EQ(r.last, 3);
    int ticks = 0;
    for (;; ++ticks) {
        for (int32_t& t : slots.timers)
            if (t != 0)
                --t;
        r = ShotRequests::Plan(slots.states, slots.timers);
        if (r.first != 0)
            break;
    }
    // Shot 2 waited 15 ticks; shot 3 (17) still runs, so shot 2 goes alone.
    EXPECT_EQ(ticks + 1, 15);
    EXPECT_EQ(r.first, 2);
    EXPECT_EQ(r.last, 2);
    EXPECT_EQ(slots.timers[1], 17);  // the second one running now
}

}  // namespace
