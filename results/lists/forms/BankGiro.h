#pragma once
// The giro forms (list kind 3): the settlement made as the competition
// report makes it, and one pre-printed giro form (GiroForm.h) per club it
// owes more than 0, printed straight onto the form's fields at places
// measured from the paper's edge (SheetPrint.h), on the list object's
// printTarget when set, else on the printer the print dialog chooses.
// Nothing is previewed or written to a file, whatever output was asked for.
#include "results/lists/ListProducer.h"
#include "results/lists/settlement/SettlementBooks.h"

#include <vector>

namespace results {

class BankGiro : ListProducer {
public:
    explicit BankGiro(CDataList& list) : ListProducer(list) {}
    void Make();
    // A form per payment row with an amount above 0.
    void Print(const std::vector<PaymentRow>& paymentRows);
};

}  // namespace results
