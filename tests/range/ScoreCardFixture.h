#pragma once
// A known card for the score card's tests: two series of three listed shots
// each, with a manual, a copied and a super-final shot, a starred zero,
// temperatures of 12,700 (none) and 8,100, weak and overloaded sensors, and
// a slot whose series byte has bit 7 set (never listed).
//
//   slot series value  what                                       counting
//   0    1      10.5   target shot, one weak sensor (rating 25)   1
//   1    1      *0     starred zero, no temperature, no sensors   1
//   2    1      9.8    81 degrees, overloaded sensor (75), short
//                      band advance with the band mark, hidden    1
//   3    2      9.0    entered by hand                            0 (undefined)
//   4    2      10.1   copied from lane 5, very weak sensor (50)  128 (out)
//   5    0x81   10.0   bit 7 set: not listed                      1
//   6    2      10.0   super final, -21 degrees, sensor A only (50) 2
#include "foundation/comp/DataComp.h"

#include <cmath>
#include <cstring>

namespace bvtest {

inline ShotRecord CardShot(int series, int value, int counting, uint16_t flags)
{
    ShotRecord s;
    std::memset(&s, 0, sizeof s);
    s.state = CDataComp::kSlotShot;
    s.flags = flags;
    s.value = static_cast<int16_t>(value);
    s.series = static_cast<uint8_t>(series);
    s.countingSeries = static_cast<uint8_t>(counting);
    s.temperature = 2150;
    s.century = 20;
    s.year = 26;
    s.month = 12;
    s.day = 10;
    s.hour = 14;
    s.minute = 5;
    s.second = 1;
    s.hundredths = 7;
    s.shotAt = 1234;
    s.sensorA = 30;
    s.sensorB = 31;
    s.sensorC = 32;
    s.sensorD = 31;
    s.sensorSet = 1;
    s.data42 = 3;
    s.data43 = 7;
    s.data45 = 120;
    return s;
}

// Relay 1, lane 2: a 300 m face (type 3) in value system 1, coarse sensitivity.
inline CardRecord KnownCard()
{
    CardRecord card;
    CDataComp::ClearCard(card);
    card.relay = 1;
    card.lane = 2;
    card.targetType = 3;
    card.valueSystem = 1;
    card.sensitivity = 1;
    return card;
}

inline ShotListRecord KnownShots()
{
    ShotListRecord list;
    CDataComp::ClearShots(list);
    list.updateCounter = 8;
    ShotRecord& s0 = list.shots[0] = CardShot(1, 1050, 1, 0x0081);
    s0.x = 1234;
    s0.y = -2345;
    s0.radius = 2650;
    s0.sensorC = 12;
    s0.second = 1;
    ShotRecord& s1 = list.shots[1] = CardShot(1, 1204, 1, 0x0081);
    s1.temperature = 12700;
    s1.sensorA = s1.sensorB = s1.sensorC = s1.sensorD = 255;
    s1.second = 2;
    ShotRecord& s2 = list.shots[2] = CardShot(1, 980, 1, 0x0301);
    s2.x = -500;
    s2.y = 20;
    s2.radius = 500;
    s2.temperature = 8100;
    s2.sensorC = 95;
    s2.data45 = 77;
    s2.second = 3;
    ShotRecord& s3 = list.shots[3] = CardShot(2, 900, 0, 0x0082);
    s3.state = CDataComp::kSlotNoPosition;
    s3.x = s3.y = -1500000;
    s3.radius = 2121320;
    s3.temperature = 2000;
    s3.sensorA = s3.sensorB = s3.sensorC = 32;
    s3.sensorD = 255;
    s3.data41 = 2;
    s3.second = 4;
    ShotRecord& s4 = list.shots[4] = CardShot(2, 1010, 128, 0x0881);
    s4.data41 = 5;
    s4.sensorC = 2;
    s4.second = 5;
    ShotRecord& s5 = list.shots[5] = CardShot(0x81, 1000, 1, 0x0081);
    s5.second = 6;
    ShotRecord& s6 = list.shots[6] = CardShot(2, 1000, 2, 0x0401);
    s6.temperature = -2100;
    s6.sensorB = s6.sensorC = s6.sensorD = 255;
    s6.second = 7;
    std::strcpy(list.comment, "Skiftet skive\r\netter serie 1");
    return list;
}

}  // namespace bvtest
