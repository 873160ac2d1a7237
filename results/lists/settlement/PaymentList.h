#pragma once
// The payment list: what the organiser pays each club of the settlement
// sheet (the books' payment rows), with the club's bank account, and the
// sum of it all.
#include "results/lists/ListProducer.h"
#include "results/lists/settlement/SettlementBooks.h"

namespace results {

class PaymentList : ListProducer {
public:
    PaymentList(CDataList& list, SettlementBooks& books) : ListProducer(list), m_books(books) {}
    // The payment rows are emptied afterwards unless keepRows (the giro
    // forms print from them).
    void Make(bool keepRows);

private:
    void SetupPage(int d);

    SettlementBooks& m_books;
};

}  // namespace results
