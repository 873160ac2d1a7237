#pragma once
// Stake prize money: every participant of a prize list pays a stake, and
// the pool goes to the first rows of the ranked list, one winner per so
// many participants ("1/3"), everyone sharing the last prize place winning
// too. Either shared by score margins (DistributePrizes) or after the prize
// table (DistributeTablePrizes). Amounts are hundredths of the currency
// unit; the rows must be sorted and placed (RowRanking::Sort).
#include "results/lists/ListRows.h"

#include <cstdint>
#include <string>
#include <vector>

namespace results {

// A prize share "share/per": one winner per `per` participants, `share`
// at a time; without "/", `share` winners.
struct PrizeShare {
    int share = 0;
    int per = 0;
};
// The share text of a prize list: two whole numbers split at "/", each
// part read to its first non-digit (empty or not a number: 0).
PrizeShare ParseShare(const std::string& text);

// The number of winners among the sorted rows: ceil(n x share / per), at
// most n, extended over the rows that share the last prize place; 0 for
// a share that would give fewer than none.
int PrizeWinners(const std::vector<ResultRow>& rows, int share, int per);

// Shares the pool (rows x stake) among the winners by weights that grow
// with the margin of each winner's total over the next one's (and of its
// series figure 1; with the time rule, of the next one's time over its
// own), with a bonus for the first two places. Every winner gets the stake
// back plus its part of the rest, in whole currency units; what rounding
// leaves over goes to the winner when the winner is clear of second place
// by more than that. Writes prize amount and prize flag of the winners;
// the number of winners. weights, when given, gets each winner's weight.
int DistributePrizes(std::vector<ResultRow>& rows, int share, int per, int stake, bool timeRule,
                     std::vector<int>* weights = nullptr);

// Pays the winners after the prize table's row for the number of rows, in
// units of a hundredth of the stake; rows that share a place share equally
// what the places they hold pay. What is left of the pool goes to the
// winner as above.
void DistributeTablePrizes(std::vector<ResultRow>& rows, int share, int per, int stake);

}  // namespace results
