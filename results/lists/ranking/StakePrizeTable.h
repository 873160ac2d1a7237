#pragma once
// The prize table of stake money: for n participants, the share of the
// pool that each of the first ceil(n / 3) places is paid, in hundredths of
// one stake. A row pays out the whole pool (its shares add up to n x 100),
// no share is above the one before it and every share is at least one.
// The rows federations print are kept as they stand; the others, and every
// row beyond 210 participants, follow one rule of ours (StakePrizeTable.cpp).
#include <vector>

namespace results {

// Rows n = 0..210 are constant data; places 1..70.
inline constexpr int kStakeTableRows = 211;
inline constexpr int kStakeTableShares = 70;

// The share of place (from 1) for n participants; 0 for a place beyond the
// row's shares and for n below 1.
int StakePrizeShare(int n, int place);
// The shares of row n, place 1 first; empty for n below 1.
std::vector<int> StakePrizeRow(int n);

}  // namespace results
