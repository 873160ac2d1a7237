#pragma once
// Shot lists for the shot-log tests, in the record layout of Shot.BVD.
#include "foundation/comp/DataComp.h"

#include <cmath>
#include <cstring>

namespace bvtest {

// A shot delivered by a target: fired and counting in `series`, at x, y
// micrometres, on 10 December 2026 at 14:05:<number>.
inline ShotRecord TargetShot(int number, int series, int value, int x, int y)
{
    ShotRecord shot;
    std::memset(&shot, 0, sizeof shot);
    shot.state = CDataComp::kSlotShot;
    shot.flags = CDataComp::kFlagFromTarget;
    shot.x = x;
    shot.y = y;
    shot.radius = static_cast<int32_t>(std::lround(std::sqrt(double(x) * x + double(y) * y)));
    shot.value = static_cast<int16_t>(value);
    shot.temperature = 2150;
    shot.shotNumber = static_cast<uint8_t>(number);
    shot.century = 20;
    shot.year = 26;
    shot.month = 12;
    shot.day = 10;
    shot.hour = 14;
    shot.minute = 5;
    shot.second = static_cast<uint8_t>(number % 60);
    shot.hundredths = 7;
    shot.shotAt = 1234;
    shot.series = static_cast<uint8_t>(series);
    shot.countingSeries = static_cast<uint8_t>(series);
    shot.sensorA = shot.sensorB = shot.sensorC = 30;
    shot.sensorD = 255;
    shot.data42 = 3;
    shot.data43 = 7;
    shot.data45 = 120;
    return shot;
}

// A card of relay 2, lane 3 on the 50 m rifle face.
inline CardRecord LogCard()
{
    CardRecord card;
    CDataComp::ClearCard(card);
    card.relay = 2;
    card.lane = 3;
    card.targetType = 18;
    card.valueSystem = 2;
    card.sensitivity = 2;
    return card;
}

// `count` shots in series of `perSeries`, slot after slot.
inline ShotListRecord ShotsOf(int count, int perSeries)
{
    ShotListRecord list;
    CDataComp::ClearShots(list);
    for (int i = 0; i < count && i < CDataComp::kSlots; ++i)
        list.shots[i] = TargetShot(i + 1, 1 + i / perSeries, 900 + (i * 7) % 190, 1000 * (i % 9) - 4000,
                                   -700 * (i % 5));
    return list;
}

}  // namespace bvtest
