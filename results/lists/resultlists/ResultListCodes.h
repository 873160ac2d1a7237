#pragma once
// The column codes of the result lists and the code bytes of a sub-event.
#include <cstdint>

namespace results {

// What a result list column shows; a column string holds one code a column.
enum ResultColumnCode : int {
    kCodeEmpty = -1,
    kCodePlace = 1,
    kCodeStartNr = 2,
    kCodeName = 3,
    kCodeClub = 4,
    kCodeClass = 5,
    kCodeCategory = 6,
    kCodeShots = 7,
    kCodeSeriesSums = 8,
    kCodeStartScore = 9,
    kCodeTotal = 10,
    kCodePrize = 11,
    kCodeRemarks = 12,
};

// A prize list's source: 0x100 | sub-event, else a card series.
inline constexpr int kSourceSubEvent = 0x100;

// A sub-event's code bytes: a series number, the start score, or a link of
// two bytes (0x80 | sub-event, event) to another event's sub-event.
inline constexpr uint8_t kStartScoreCode = 0xFF;
inline constexpr bool IsLinkCode(uint8_t code) { return (code & 0x80) != 0 && code != kStartScoreCode; }

}  // namespace results
