#pragma once
// The competition report's books: what its result lists keep of every row
// they print (a shooter's prize, place and total per prize list, the
// shooter's club, class and sub-event totals), and what the settlement
// sheet then owes each club. The settlement sheet, the payment list, the
// accounts, the giro forms and the per-club files read them.
#include <cstdint>
#include <string>
#include <vector>

namespace results {

class CDataList;

// The settlement's prize data of one prize list. Prize rows 0 and 1 hold
// the settlement's shooter list instead: row 0's numbers are the start
// numbers of every shooter with a club, ascending (a shooter's index there
// is its index in every per-shooter array), row 1's the state of each (0 not
// listed, 1 took part, 2 written on the sheet). From row 2 on, one row per
// prize list of the report; the result lists add to it.
struct PrizeRow {
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
    int32_t amount = 0;  // whole currency units
    std::string clubName;
    int16_t club = 0;    // the club's number in the register
};

struct SettlementBooks {
    std::vector<PrizeRow> prizeRows;
    std::vector<ClubRow> clubRows;
    // The sub-events of the event being reported whose totals the
    // settlement sheet shows after a shooter's name.
    std::vector<uint16_t> subEvents;
    std::vector<PaymentRow> paymentRows;

    // The shooter's index among the settlement's shooters; -1 when not among them.
    int ShooterIndex(int32_t startNr) const;
    // The prize row of a settlement row (2 or more) when the shooter is
    // among the settlement's shooters, whose prizes the row counts; else null.
    PrizeRow* PrizesOf(int settlementRow, int32_t startNr);
    // Keeps what a result list of prize row settlementRow printed of result
    // row `row` of the list object (the request's event): the prize, place
    // and result, and the shooter's club row. A shooter listed twice keeps
    // both prizes, and the place and result of the first row; a shooter the
    // settlement does not list books nothing.
    void Book(CDataList& list, int row, int settlementRow, const std::string& place, const std::string& result);
    // Frees the shooter list and the prize and club rows.
    void FreeRows();
};

}  // namespace results
