// The date and time a shot carries: a unit's shot takes only the date, so
// the unit's own time of day stays.
#include "foundation/comp/ShotTime.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(ShotTime, DateOrDateAndTime)
{
    platform::LocalTime now;
    now.year = 2026;
    now.month = 12;
    now.day = 10;
    now.hour = 19;
    now.minute = 41;
    now.second = 7;
    now.millisecond = 589;

    ShotRecord unit{};
    unit.hour = 8;
    unit.minute = 30;
    unit.second = 1;
    unit.hundredths = 99;
    StampShot(unit, now, ShotStamp::Date);
    EXPECT_EQ((std::vector<int>{unit.century, unit.year, unit.month, unit.day, unit.hour, unit.minute, unit.second,
                                unit.hundredths}),
              (std::vector<int>{20, 26, 12, 10, 8, 30, 1, 99}));

    ShotRecord here{};
    StampShot(here, now, ShotStamp::DateAndTime);
    EXPECT_EQ((std::vector<int>{here.century, here.year, here.month, here.day, here.hour, here.minute, here.second,
                                here.hundredths}),
              (std::vector<int>{20, 26, 12, 10, 19, 41, 7, 58}));
}

}  // namespace
