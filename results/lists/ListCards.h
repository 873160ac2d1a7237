#pragma once
// How the list object's result cards reach the files of an event: through
// the event objects of the list object's own competition, never through
// another thread's.
#include "results/values/CardEvents.h"

namespace results {

class CCompetition;

class ListCards : public CardEvents {
public:
    explicit ListCards(CCompetition& competition) : m_comp(competition) {}

    CBVConfig* Comp() override;
    CBVConfig* Settings(int event) override;
    CBVFileEx* Results(int event) override;
    CardEntries* Entries(int event) override;

private:
    CCompetition& m_comp;
};

}  // namespace results
