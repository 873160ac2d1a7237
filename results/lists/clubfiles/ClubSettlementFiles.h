#pragma once
// The competition report's settlement split by club (the split-list option,
// after the report's own list file): the settlement sheet of the report's
// books as one file per club with its link page (Oppgjorlink.htm), then the
// payment list and the accounts as Betalingsliste.rtf and Regnskap.rtf,
// always RTF as their names say. The books' rows are freed afterwards.
#include "results/lists/ListProducer.h"
#include "results/lists/settlement/SettlementBooks.h"

namespace results {

class ClubSettlementFiles : ListProducer {
public:
    ClubSettlementFiles(CDataList& list, SettlementBooks& books) : ListProducer(list), m_books(books) {}
    // 0, or -1 when a file could not be written (reported). The list
    // object's clubFilesWritten names every file written.
    int Write();

private:
    SettlementBooks& m_books;
};

}  // namespace results
