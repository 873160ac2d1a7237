#include "foundation/comp/ShotTime.h"

void StampShot(ShotRecord& shot, const platform::LocalTime& now, ShotStamp what)
{
    shot.century = static_cast<uint8_t>(now.year / 100);
    shot.year = static_cast<uint8_t>(now.year % 100);
    shot.month = static_cast<uint8_t>(now.month);
    shot.day = static_cast<uint8_t>(now.day);
    if (what == ShotStamp::Date)
        return;
    shot.hour = static_cast<uint8_t>(now.hour);
    shot.minute = static_cast<uint8_t>(now.minute);
    shot.second = static_cast<uint8_t>(now.second);
    shot.hundredths = static_cast<uint8_t>(now.millisecond / 10);
}
