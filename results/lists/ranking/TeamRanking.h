#pragma once
// The team ranking form's ranking of a team competition: one row per
// entered team (team rows, the result rows referring to them), its
// members' results in their events added up, the teams sorted and placed.
// No prize money; the list object's ranking tells the kind and the member
// slots looked at.
#include "results/lists/ListProducer.h"

namespace results {

class TeamRanking : ListProducer {
public:
    explicit TeamRanking(CDataList& list) : ListProducer(list) {}
    void Make(int team);
};

}  // namespace results
