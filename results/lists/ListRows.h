#pragma once
// The rows every list producer collects in the list object before it lays
// its list out: shooters found on the relays' targets, their ranked results,
// and the teams of a team competition. What one chapter works with alone
// (entry groups, team quotas, the settlement's books, the upload table)
// is that chapter's own. Texts are Windows-1252, at most 31 characters where
// the rows keep names.
#include "results/values/DataRes.h"

#include <cstdint>
#include <string>
#include <vector>

namespace results {

// Room of a row's name texts.
inline constexpr size_t kRowTextSize = 31;

// One entry of a relay and target, with its shooter's data.
struct ShooterRow {
    virtual ~ShooterRow() = default;
    int16_t relay = 0;      // relay index
    int16_t target = 0;
    std::string name;
    int16_t club = 0;
    std::string clubName;   // empty when the club register does not have the club
    int16_t classNr = 0;
    std::string className;
    std::string category;   // the entry's
    int32_t startNr = 0;
    int32_t paid = 0;       // hundredths
    std::string bib;
};

// One ranked result. The figures are the ranking and series figures of the
// result cards (DataRes.h), compared by the sorting.
struct ResultRow {
    virtual ~ResultRow() = default;
    static constexpr size_t kBaseFigures = 13;

    RowFigures ranking = RowFigures(kBaseFigures, 0);
    RowFigures series;
    int16_t shooterRow = -1;  // index into the shooter rows
    int16_t place = 0;
    int16_t shootOff = 0;
    int16_t finalPlace = 0;
    int16_t sharedPlace = 0;
    int32_t prizeAmount = 0;  // hundredths
    uint8_t prizeFlag = 0;
    uint8_t flag = 0;         // the result lists: the money prize is a gift (rank file)
    uint16_t number = 0;
    std::string rankText;     // from the rank file
};

// The result of one team of a team competition: its members slot by slot
// (slots 1..40; 0 is not used) and the team's total. Filled by the team
// ranking and the team lists; the result rows refer to it.
struct TeamRow {
    static constexpr int kSlots = 40;
    int32_t memberStart[kSlots + 1] = {};
    int32_t memberScore[kSlots + 1] = {};
    int16_t memberEvent[kSlots + 1] = {};  // -1: the slot has no usable member
    int16_t memberRelay[kSlots + 1] = {};
    int16_t memberTarget[kSlots + 1] = {};
    int16_t memberFlag[kSlots + 1] = {};
    int32_t total = 0;
    int16_t team = 0;   // entered team j (or automatic team number)
    std::string name;   // the team's name, for the forms and the order by name
};

}  // namespace results
