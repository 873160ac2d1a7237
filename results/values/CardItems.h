#pragma once
// The settings a card object reads of its competition and events: how many
// series and sub-events an event has, each series' shots, name and value
// system, what each sub-event sums, and the scoring rules that change a
// text or a figure. Their addresses belong to the competition's item tables
// (results/data/CompetitionItems.h, EventItems.h), which include these: the
// card stands below the data objects and reads the same items, each address
// given once.
#include "foundation/files/ConfigItem.h"

namespace results {

namespace CompItems {
inline constexpr ConfigIntItem kOrgType{2, 1, 530, 0};       // rule set of the competition
constexpr ConfigIntItem EventSeries(int n) { return {3, n, 13, 0}; }
constexpr ConfigIntItem EventSubEvents(int n) { return {3, n, 16, 0}; }
}  // namespace CompItems

namespace EventItems {
inline constexpr ConfigIntItem kSeparateFinal{3, 1, 680, 0};
constexpr ConfigIntItem Final(int n) { return {3, n, 19, 0}; }            // scored in tenths
constexpr ConfigTextItem SeriesName(int s) { return {8, s, 500, ""}; }
constexpr ConfigIntItem SeriesShots(int s) { return {8, s, 530, 0}; }
constexpr ConfigIntItem SeriesType(int s) { return {8, s, 650, 0}; }      // value system 0..11
constexpr ConfigTextItem SubEventName(int k) { return {9, k, 500, ""}; }
// Code bytes: series numbers, 0xFF the start score, (0x80 | sub-event, event)
// a link to another event.
constexpr ConfigTextItem SubSeries(int k) { return {9, k, 21, ""}; }
}  // namespace EventItems

}  // namespace results
