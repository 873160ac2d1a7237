#pragma once
// The coded layout of the result lists: the prize list's column string
// (or the web's, or a default by kind, source and prizes) names a column
// code per column; the columns are sized by the characters their codes
// need and the row is fitted to the default printer's paper
// (results/print/PaperMeasure.h), the shots moving to a second line behind
// an empty column as wide as the place column when it is too wide.
#include "results/lists/ListProducer.h"

#include <string>

namespace results {

class CodedLayout : ListProducer {
public:
    explicit CodedLayout(CDataList& list) : ListProducer(list) {}

    // Lays out definition d for prize list `list` of the request's event.
    // Returns the merge flag: the shots and the series sums share a column.
    bool Layout(int list, int d, int listKind, bool withPrizes, bool web);
    // The characters a column of the code holds.
    int ColumnFitChars(int code, int list, int listKind);
    void ColumnFace(int code, std::string& out);
    // Widths in percent by the columns' characters; a row of textWidthMm on
    // paper of paperWidthMm that does not fit moves the shots column.
    void FitColumnWidths(int d, int textWidthMm, int paperWidthMm, int columns, int chars);
};

}  // namespace results
