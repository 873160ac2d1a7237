// How long the start-up question waits for the targets' lane states: as long
// as the busiest line needs for every unit to report once, never shorter than
// the fixed wait.
#include "range/base/QuestionBox.h"

#include <gtest/gtest.h>

TEST(StartupWaitTest, FollowsTheBusiestLine)
{
    struct Case {
        int units;
        bool slow, outside;
        int ticks;
    };
    const Case cases[] = {
        {0, false, false, 15},   // no line: the fixed wait
        {10, false, false, 15},  // 2.5 s of reports fit in it
        {13, false, false, 15},
        {14, false, false, 16},  // 2.1 s + 1 s to spare
        {50, false, false, 43},  // 7.5 s + 1 s
        {50, true, false, 80},   // twice as long at 4800 baud
        {10, false, true, 45},   // an outside system's wait
        {50, true, true, 80},
    };
    for (const Case& c : cases)
        EXPECT_EQ(StartupWaitTicks(c.units, c.slow, c.outside), c.ticks)
            << c.units << " units, slow " << c.slow << ", outside " << c.outside;
}
