#pragma once
// The list of a team competition (list kind 14, the request's
// treeSelection): the teams, entered or automatic (AutoTeams.h), each
// member scored from the result cards by the competition's definition rows,
// the teams ranked by the competition's ranking rule, and a row per team
// with its members below, results shown as the rule shows them
// (TeamTexts.h).
#include "results/lists/ListProducer.h"

namespace results {

class TeamList : ListProducer {
public:
    explicit TeamList(CDataList& list) : ListProducer(list) {}
    // With prizes the prize text of each place; with prizes or append the
    // list goes after the report's definitions, else it is definition 1.
    void Make(bool prizes, bool append);

private:
    void SetupPage(int d, int teamSize);
};

}  // namespace results
