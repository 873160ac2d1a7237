#pragma once
// The result cell of a class list: a ranked row's result as its event's
// ranking rule shows it.
#include "results/lists/ListRows.h"

#include <string>

namespace results {

// rule: the event's result type; hitSeries: a "DFS Felt" event has a hit
// series; decimal: the event is scored in tenths; points: the shooter's
// points in the event's last series when that is a points series, else
// -1.
std::string ClassListResult(int rule, bool hitSeries, bool decimal, const ResultRow& row, int points);

}  // namespace results
