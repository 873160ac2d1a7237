#pragma once
// The fixed layouts of the result lists of organisation types 2 and 6: a
// plain line of 7 columns, the three lines of a half or full match (prone,
// standing, kneeling; 27 columns), and their variants for a combined final
// list of all participants (17 and 32 columns), whose first eight rows show
// the final too. A list may end with its print and protest times of the
// replaceable clock. The cells come from the result cells' texts.
#include "results/lists/ListProducer.h"

#include <cstdint>
#include <vector>

namespace results {

class ResultCells;

class FixedLayout : ListProducer {
public:
    FixedLayout(CDataList& list, ResultCells& cells) : ListProducer(list), m_cells(cells) {}

    // Lays out definition d for prize list `list` of the request's event.
    void Layout(int list, int d, int listKind);
    // What the last layout chose: 0 (a source without columns: a series),
    // 7, 17, 27 or 32.
    int Columns() const { return m_columns; }
    // The cells of a row in the layout just made, and its style (the
    // final's lines hidden after the eighth row).
    std::vector<ReportCell> RowCells(int row, int list, int listKind, bool withPrizes, uint16_t& style);
    void AddTimeRows(int d);

private:
    ResultCells& m_cells;
    int m_columns = 0;
    int m_cardEvent = 0;  // the event the source's first code names
    int m_entries = 4;    // the match layouts' entries limit
    int m_firstCode = 0;  // the source's first code byte
};

}  // namespace results
