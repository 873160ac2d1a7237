#pragma once
// The date and time a shot carries on its card. A shot from a target unit
// keeps the unit's time of day and takes only the date from this computer;
// a shot made here (simulated, or written by a tool) takes both.
#include "foundation/comp/DataComp.h"
#include "platform/system/Clock.h"

enum class ShotStamp { Date, DateAndTime };

void StampShot(ShotRecord& shot, const platform::LocalTime& now, ShotStamp what);
