#pragma once
// The rows a list producer collects before it lays its list out: shooters
// found on the relays' targets, ranked results, entry groups, and the work
// rows of the team computations and the settlement. Texts are Windows-1252,
// at most 31 characters where the rows keep names.
#include "results/data/DataTeam.h"
#include "results/values/DataRes.h"

#include <array>
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

// The settlement's prize data of one prize list. Prize rows 0 and 1 hold
// the settlement's shooter list instead: row 0's numbers are the start
// numbers of every shooter with a club, ascending (a shooter's index there
// is its index in every per-shooter array), row 1's the state of each (0 not
// listed, 1 took part, 2 written on the sheet). From row 2 on, one row per
// prize list of the report; the result lists add to it.
struct PrizeRow {
    virtual ~PrizeRow() = default;
    std::vector<int32_t> amounts;          // per shooter, hundredths; row 0 start numbers, row 1 states
    std::vector<std::string> resultTexts;  // per shooter: the list's total column
    std::vector<std::string> placeTexts;   // per shooter: the list's place column
    int32_t listed = 0;                    // rows the list printed; row 0: the number of shooters
    int32_t stake = 0;                     // hundredths per participant
    int16_t prizeKind = 0;                 // 1 objects, 2 money
    int32_t combined = 0;                  // 1 a combined prize list, 0 a class prize list
    int32_t list = 0;                      // its number in its section
    int32_t event = 0;
    int32_t classNr = 0;                   // a class prize list's class; 0 for a combined list
    int32_t moneyPaid = 0;                 // hundredths
    int32_t objects = 0;
    int32_t gifts = 0;
    std::string name;                      // the combined list's name, or the class name
    std::string title;                     // the combined list's name, or the source's name
};
// One shooter of the settlement's shooter list (same index as prize row 0).
struct ClubRow {
    virtual ~ClubRow() = default;
    std::string shooterName;
    std::string className;
    std::string clubName;
    int16_t objects = 0;
    int16_t gifts = 0;
    int16_t club = 0;
    // For every event the shooter took part in, one text per sub-event of
    // the report's sub-event list.
    std::vector<std::string> subEventTotals;
    std::vector<int16_t> eventsSeen;  // by event number; 1 = totals collected
};
// What the settlement owes one club: one row per page of the settlement
// sheet. The giro forms and the per-club files read them too.
struct PaymentRow {
    virtual ~PaymentRow() = default;
    int32_t amount = 0;    // whole currency units
    std::string clubName;
    int16_t club = 0;      // the club's number in the register
};
// One line of the accounts: a class of an event, a combined prize list or
// a team competition, with what came in and what went out.
struct AccountRow {
    virtual ~AccountRow() = default;
    enum Kind : int16_t { kClass = 0, kCombined = 1, kTeam = 2 };
    int32_t fee = 0;       // hundredths per participant
    int32_t count = 0;     // participants; entered teams for a team row
    int32_t stake = 0;     // hundredths per participant, summed over the matching prize lists
    int32_t paid = 0;      // hundredths of money prizes
    int32_t event = 0;     // 0 for a team row
    std::string name;
    int32_t objects = 0;
    int32_t gifts = 0;
    int16_t kind = kClass;
};

// A row of the entry list. In group 0 it is a shooter (name, class and
// category of the entry, club); in an event's group the shooter's entry in
// that event (day label, start time, class and category, relay, target; a
// target of 0 = no entry).
struct EntryRow {
    virtual ~EntryRow() = default;
    std::string text1;
    std::string text2;
    std::string text3;
    std::string text4;
    int32_t club = 0;
    int16_t relayNumber = 0;
    int16_t target = 0;
    std::vector<int32_t> numbers;
};

struct EntryGroup {
    virtual ~EntryGroup() = default;
    std::string name;
    int16_t count = 0;
    std::vector<EntryRow> rows;
};

// The team computations' work rows.
using TeamCalcEntry = TeamMemberRecord;
// A quota row of automatic teams: the places left per category and per
// class (index 0 included) of a definition row (rule 0) or of one of its
// composition rules. An empty array sets no quota.
struct TeamCalcRow {
    virtual ~TeamCalcRow() = default;
    int32_t rule = 0;
    std::vector<int16_t> categories;
    std::vector<int16_t> classes;
};

// What the upload remembers of a file it sent: the 8-bit sum the pages were
// once told apart by, and the size and SHA-256 that really tell them apart.
struct UploadMark {
    uint8_t checksum = 0;
    int64_t size = -1;
    std::array<uint8_t, 32> digest{};
    bool operator==(const UploadMark&) const = default;
};

// The web pages' upload table: per file name, what was last sent. Entry 0
// is the site's start file; the data files follow in the order they were
// first sent. It grows with the site and is never saved.
struct UploadTable {
    struct Entry {
        std::string name;
        UploadMark mark;
    };
    std::vector<Entry> entries = std::vector<Entry>(1);
};

}  // namespace results
