#pragma once
// The class lists (list kinds 12 "Resultatlister auto" and 13 "Andre
// lister"): for every class of the request (or all of them together) and
// every source chosen (a card series, or 0x100 | a sub-event), the
// shooters ranked by the event's ranking rule, one list definition each:
// place, name, club, (class,) result (ClassListCells.h). The automatic
// teams rank a definition row's event with them.
#include "results/lists/ListProducer.h"

namespace results {

class ClassLists : ListProducer {
public:
    explicit ClassLists(CDataList& list) : ListProducer(list) {}
    // With makeOutput a definition for each (class, source) pair that has
    // rows; without, only the rows of the last pair, left in the list object.
    void Make(bool makeOutput);

private:
    void SetupPage(int d);
};

}  // namespace results
