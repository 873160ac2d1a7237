#pragma once
// Small shooting cards for the printer tests.
#include "foundation/cards/PrintCard.h"

#include <cmath>
#include <initializer_list>

#include <string>

namespace bvtest {

// Sets series slot s in use with a name, a value system and shots at the
// given values, placed round the centre; sums and running totals follow.
inline void AddSeries(PrintCard& card, int s, const std::string& name, std::initializer_list<int> values,
                      int valueSystem = 1, double spread = 3.0)
{
    PrintCard::SetText(card.seriesName[s], name);
    card.valueSystem[s] = static_cast<uint8_t>(valueSystem);
    card.matchSeries[s] = 1;
    int n = 0, sum = 0;
    for (int v : values) {
        double angle = 0.7 * n;
        card.AddShot(s, n + 1, v, spread * (1 + n % 3) * std::cos(angle), spread * (1 + n % 3) * std::sin(angle),
                     1000 * (n + 1));
        sum += v >= 1200 ? 0 : v >= 1100 ? v - 100 : v;
        ++n;
    }
    card.shotCount[s] = n;
    card.seriesSum[s] = sum;
}

// A card of lane 3, relay 2, with a name and club on a 50 m rifle face.
inline void FillShooter(PrintCard& card, int targetType = 18)
{
    card.lane = 3;
    card.relay = 2;
    PrintCard::SetText(card.name, "Kari Nordmann");
    PrintCard::SetText(card.club, "Brevandi Skytterlag");
    PrintCard::SetText(card.cls, "Senior");
    PrintCard::SetText(card.category, "V55");
    card.targetType = static_cast<uint8_t>(targetType);
    card.bulletRadius = 2.8;
}

}  // namespace bvtest
