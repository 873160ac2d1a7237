#pragma once
// The lanes' places by their totals, for the place column of the lane list:
// the highest total is first, equal totals share the place of the first of
// them and the next total takes the place after all of them (1, 2, 2, 4). A
// lane without a channel or not taking part counts as 0, and a total of 0
// has no place.
class LaneTable;

namespace LaneRanking {

// Gives every lane 1..100 its place; each lane whose place changed gets a
// row mark. The number of lanes whose place changed.
int RankLanes(LaneTable& lanes);

}  // namespace LaneRanking
