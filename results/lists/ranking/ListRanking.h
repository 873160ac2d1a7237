#pragma once
// The ranking of the list object's rows: the one order of every ranked list
// (RowRanking.h) with the rules of the request's event, or of its team
// competition (0x100 | t), and what the rows' shooters have on the list
// object's own cards, so the worker's and the screens' comparisons never
// load into a shared card. And a shooter's figures in a prize list's
// source, which every ranked list collects alike.
#include "results/lists/ListRows.h"

namespace results {

class CDataList;
class CDataRes;

// Sorts the list object's result rows under the ranking kind and numbers
// their places, final places and shared-place flags. The rows refer to
// shooter rows, or to team rows while the object's teamResults is set.
void SortResultRows(CDataList& list, int kind);

// Adds a shooter's result in the source (0x100 | sub-event, else a card
// series) to the row's figures from the shooter's card; false when the
// shooter has none there.
bool AddSourceResult(CDataRes& card, const ShooterRow& shooter, int event, int source, int kind, ResultRow& row);

}  // namespace results
