#pragma once
// The accounts: for every class and combined prize list of every event and
// every team competition, the participants, the entry fees taken, the
// stakes that went to the prizes and the prizes paid out, with the totals.
// The figures of the prize lists come from the prize rows the competition
// report's result lists filled: a class row takes those of its event's
// class prize lists of that class, a combined row those of its event's
// combined list of that name.
#include "results/lists/ListProducer.h"
#include "results/lists/settlement/SettlementBooks.h"

#include <cstdint>
#include <string>
#include <vector>

namespace results {

// One line of the accounts: a class of an event, a combined prize list or
// a team competition, with what came in and what went out.
struct AccountRow {
    enum Kind : int16_t { kClass = 0, kCombined = 1, kTeam = 2 };
    int32_t fee = 0;    // hundredths per participant
    int32_t count = 0;  // participants; entered teams for a team row
    int32_t stake = 0;  // hundredths per participant, summed over the matching prize lists
    int32_t paid = 0;   // hundredths of money prizes
    int32_t event = 0;  // 0 for a team row
    std::string name;
    int32_t objects = 0;
    int32_t gifts = 0;
    int16_t kind = kClass;
};

class Accounts : ListProducer {
public:
    Accounts(CDataList& list, const SettlementBooks& books) : ListProducer(list), m_books(books) {}
    // A definition after those the report holds; the rows are freed after it.
    void Make();
    const std::vector<AccountRow>& Rows() const { return m_rows; }

private:
    void SetupPage(int d);
    void BuildRows();

    const SettlementBooks& m_books;
    std::vector<AccountRow> m_rows;
};

}  // namespace results
