// The run of a shot on a running-target range, as every program numbers it.
#include <gtest/gtest.h>

#include "foundation/comp/RunNumber.h"

namespace {

TEST(RunNumberTest, CountsRunsFromTheReferenceAcrossTheWrap)
{
    struct Case {
        int shot, reference, run;
        const char* what;
    } cases[] = {
        {5, 3, 3, "two runs after the reference's"},
        {3, 3, 1, "the reference's own run"},
        {2, 5, 126, "the counter wrapped at 128"},
        {3, 131, 2, "bit 7 of the reference: its shot came a run later"},
        {130, 3, 128, "bit 7 of the shot is not part of its counter"},
        {0x7F, 0, 128, "the last counter value"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(RunNumber(c.shot, c.reference), c.run) << c.what;
}

}  // namespace
