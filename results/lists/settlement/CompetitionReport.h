#pragma once
// The competition report (list kind 2): the office's closing document. The
// programme page of organisation type 2, the result list of every combined
// prize list (of the events not left out of the settlement) and every class
// prize list, class by class, each with a prize row of its own in the
// settlement's books, every team competition's list, then the settlement:
// the settlement sheet (a page per club), the payment list and the accounts.
// With the split-list option those three are left to the per-club files
// (clubfiles/ClubSettlementFiles.h), which take the books as the report
// leaves them.
#include "results/lists/ListProducer.h"
#include "results/lists/settlement/SettlementBooks.h"

namespace results {

struct ResultListOptions;

class CompetitionReport : ListProducer {
public:
    // forGiroForms: the payment rows stay in the books for the giro forms.
    explicit CompetitionReport(CDataList& list, bool forGiroForms = false)
        : ListProducer(list), m_forGiroForms(forGiroForms)
    {
    }

    // The report changes the request as it goes; the form's choice comes back.
    void Make();
    SettlementBooks& Books() { return m_books; }

private:
    void MakeProgramme();
    void SetupProgramme(int d);
    // The request on the event, and the books on its sub-events.
    void EventSetup(int event);
    // A result list of the report, booked into prize row settlementRow.
    ResultListOptions ListOptions(int settlementRow);

    SettlementBooks m_books;
    bool m_forGiroForms;
};

}  // namespace results
