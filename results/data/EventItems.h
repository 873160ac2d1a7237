#pragma once
// The items of an event's two settings files, Event%d.bvc and Prize%d.bvc of
// .\Comp<n>. n is the event's own number, d a day, r a relay index, c a
// class, k a category or sub-event, s a series, p a class prize list, g a
// combined prize list. Some event-wide items sit at index 1 whatever the
// event's number. The items a result card reads (series, sub-events, the
// scoring of finals) are in results/values/CardItems.h.
#include "foundation/files/ConfigItem.h"
#include "results/data/LongTextItems.h"
#include "results/values/CardItems.h"

namespace results {

namespace EventItems {
inline constexpr ConfigIntItem kKind{3, 1, 21, 0};           // program kind; 0x80 = the event has a final event
inline constexpr int kKindHasFinal = 0x80;
constexpr ConfigIntItem ShotCheck(int n) { return {3, n, 17, 0}; }        // 0 none, 1 must not fall, 2 must not rise
constexpr ConfigIntItem ResultType(int n) { return {3, n, 20, 0}; }
constexpr ConfigIntItem SeriesTypeAll(int n) { return {3, n, 650, 0}; }   // given to every series, then cleared
constexpr ConfigIntItem DayDate(int d) { return {4, d, 510, 0}; }         // yyyymmdd
constexpr ConfigTextItem RelayText(int r) { return {5, r, 500, ""}; }
constexpr ConfigTextItem RelayTime(int r) { return {5, r, 520, ""}; }     // "hh:mm"
inline constexpr const char* kRelayTimeWhenCreated = "08:00";
// Shown to users and used in exchange file names; 0 = relay index not used.
constexpr ConfigIntItem RelayNumber(int r) { return {5, r, 530, 0}; }
constexpr ConfigIntItem RelayDay(int r) { return {5, r, 531, 0}; }
constexpr ConfigIntItem RelayFlags(int r) { return {5, r, 680, 0}; }
constexpr ConfigIntItem ClassFee(int c) { return {6, c, 670, 0}; }        // hundredths
constexpr ConfigIntItem ClassUsed(int c) { return {6, c, 680, 0}; }
constexpr ConfigIntItem CategoryUsed(int k) { return {7, k, 680, 0}; }
constexpr ConfigIntItem SubEventReport(int k) { return {9, k, 22, 0}; }
}  // namespace EventItems

// EventRelayFlags bits.
namespace RelayFlag {
inline constexpr int kLocked = 0x1;           // locked for changes
inline constexpr int kHasResults = 0x10;
inline constexpr int kCardsMade = 0x20;       // the relay's card pictures are up to date
inline constexpr int kResultsLocked = 0x100;  // the import leaves the relay alone
inline constexpr int kLockedListed = 0x1000;  // locked results have been listed
}  // namespace RelayFlag

namespace PrizeItems {
inline constexpr ConfigIntItem kClassCount{3, 1, 530, 0};
inline constexpr ConfigIntItem kGroupCount{3, 1, 531, 0};
// Source: 0x100 + sub-event, else a series number; 0 = list not used.
constexpr ConfigIntItem ClassSource(int p) { return {10, p, 1, 0}; }
constexpr ConfigTextItem ClassClasses(int p) { return {10, p, 2, ""}; }
constexpr ConfigTextItem ClassCategories(int p) { return {10, p, 3, ""}; }
// Nonzero: the list's money prizes may be taken as gifts (the rank file's choice).
constexpr ConfigIntItem ClassGifts(int p) { return {10, p, 6, 0}; }
constexpr ConfigIntItem ClassOrder(int p) { return {10, p, 7, 0}; }       // 0 alphabetical, 1 final sum, 2 ranked
constexpr ConfigTextItem ClassColumns(int p) { return {10, p, 8, ""}; }
constexpr ConfigIntItem ClassLandscape(int p) { return {10, p, 9, 0}; }
constexpr ConfigTextItem ClassWebColumns(int p) { return {10, p, 10, ""}; }
constexpr ConfigIntItem ClassNoSettlement(int p) { return {10, p, 11, 0}; }
constexpr ConfigTextItem ClassShare(int p) { return {10, p, 530, "0"}; }  // "1/3": one prize per three
constexpr ConfigIntItem ClassKind(int p) { return {10, p, 640, 0}; }      // 1 objects, 2 money
constexpr ConfigIntItem ClassStake(int p) { return {10, p, 670, 0}; }
constexpr ConfigIntItem GroupSource(int g) { return {11, g, 1, 0}; }
constexpr ConfigTextItem GroupClasses(int g) { return {11, g, 2, ""}; }
constexpr ConfigTextItem GroupCategories(int g) { return {11, g, 3, ""}; }
// Nonzero: the list's money prizes may be taken as gifts (the rank file's choice).
constexpr ConfigIntItem GroupGifts(int g) { return {11, g, 6, 0}; }
constexpr ConfigIntItem GroupOrder(int g) { return {11, g, 7, 0}; }
constexpr ConfigTextItem GroupColumns(int g) { return {11, g, 8, ""}; }
constexpr ConfigIntItem GroupLandscape(int g) { return {11, g, 9, 0}; }
constexpr ConfigTextItem GroupWebColumns(int g) { return {11, g, 10, ""}; }
constexpr ConfigIntItem GroupNoSettlement(int g) { return {11, g, 11, 0}; }
constexpr ConfigTextItem GroupName(int g) { return {11, g, 500, ""}; }    // empty = free
constexpr ConfigTextItem GroupShare(int g) { return {11, g, 530, "0"}; }
constexpr ConfigIntItem GroupTextCount(int g) { return {11, g, 531, 0}; }
constexpr ConfigIntItem GroupKind(int g) { return {11, g, 640, 0}; }
constexpr ConfigIntItem GroupFee(int g) { return {11, g, 670, 0}; }
constexpr ConfigIntItem GroupStake(int g) { return {11, g, 671, 0}; }
// Place m (1 = the winner), in two halves.
constexpr ConfigTextPair GroupPlaceText(int g, int m) { return {13, g, m + 1, m + 1, 14}; }
// Press list: class c of class list p, and with how many rows (99 = all).
constexpr ConfigIntItem PressClassOn(int p, int c) { return {35, p, c + 1, 0}; }
constexpr ConfigIntItem PressClassRows(int p, int c) { return {37, p, c + 1, 0}; }
constexpr ConfigIntItem PressGroupOn(int g) { return {36, g, 1, 0}; }
constexpr ConfigIntItem PressGroupRows(int g) { return {38, g, 1, 0}; }
}  // namespace PrizeItems

}  // namespace results
