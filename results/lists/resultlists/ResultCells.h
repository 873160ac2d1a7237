#pragma once
// The cell texts of the result lists: one text per column code
// (ResultListCodes.h) for a ranked row of the list object, and the smaller
// texts the fixed layouts put together (a series' shots, parts of a
// sub-event, the final series, the remark codes). Cards are read through
// the list object's CardOn, which loads a card only when it holds another.
#include "results/lists/ListProducer.h"

#include <string>
#include <vector>

namespace results {

struct SettlementBooks;

class ResultCells : ListProducer {
public:
    // books: the settlement's, which the prize column counts its prizes into
    // (the competition report's lists); none elsewhere.
    explicit ResultCells(CDataList& list, SettlementBooks* books = nullptr) : ListProducer(list), m_books(books) {}

    // The text of one cell of result row `row` (its index in the sorted
    // rows) for a column code. With prizes, outside web pages and with a
    // settlement row, the prize column counts its prizes into that prize row.
    void Text(int row, int code, int resultType, int settlementRow, std::string& out, int listKind, int list,
              bool withPrizes, bool sumsWithShots, bool web);
    // The shots of a card series, or (0x100 | k) the series texts of sub-event k.
    std::string SeriesShotsText(int series, int relay, int target, bool blank, bool allShots);
    // Series sums (seriesSums) or one total over the first `entries` codes
    // of sub-event k of event e.
    void SubEventPartText(int row, int resultType, int subEvent, std::string& out, bool seriesSums, int event,
                          int entries);
    // "Final: " and the shots of series 1, or the sum of series 1.
    void FinalSeriesText(int row, int resultType, std::string& out, bool withShots);
    // The remark codes of the row's entry (and, on a complete final list,
    // of the shooter's entry in event otherEvent).
    void RemarkCodesText(int row, std::string& out, int otherEvent);
    // The comments of the entries whose remark codes were given, in order.
    const std::vector<std::string>& Comments() const { return m_comments; }

private:
    const ShooterRow* ShooterOf(int row) const;

    SettlementBooks* m_books;
    std::vector<std::string> m_comments;
};

}  // namespace results
