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
    uint8_t flag = 0;
    uint16_t number = 0;
    std::string rankText;     // from the rank file
};

// The result of one team of a team competition; filled by the team lists.
struct TeamRow {
    int16_t team = 0;
    int32_t total = 0;
    int16_t place = 0;
};

// The settlement's prize data of one prize list, one shooter of its shooter
// list, and one club's total; the accounts' lines. Their producers give
// them their fields.
struct PrizeRow {
    virtual ~PrizeRow() = default;
};
struct ClubRow {
    virtual ~ClubRow() = default;
};
struct PaymentRow {
    virtual ~PaymentRow() = default;
};
struct AccountRow {
    virtual ~AccountRow() = default;
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
struct TeamCalcRow {
    virtual ~TeamCalcRow() = default;
    int32_t rule = 0;
    std::vector<int16_t> first;
    std::vector<int16_t> second;
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
