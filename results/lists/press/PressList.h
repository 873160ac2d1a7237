#pragma once
// The press list (list kind 5): a short summary of the competition for the
// newspapers. For each event the top of the prize lists chosen for the
// press (the championships), then the top of the chosen class lists and
// the leading teams of the chosen team competitions, a line each with
// place, name, club and total. It ranks nothing itself: every chosen list
// is made by its own producer after the press list's definition, its rows
// are copied, and the report is cut back to the press list's one
// definition.
#include "results/lists/ListProducer.h"

#include <string>

namespace results {

class PressList : ListProducer {
public:
    explicit PressList(CDataList& list) : ListProducer(list) {}
    void Make();

    // A championship's name as the press list heads it: "Mesterskap " dropped
    // before a name.
    static std::string Name(const std::string& text);
    // The last row from `row` on (rows from 1) of the report's newest
    // definition that shares the text of column `column` with it: a press
    // line takes everyone who shares the last place it shows.
    int LastTiedRow(int row, int column);

private:
    void SetupPage(int d);
};

}  // namespace results
