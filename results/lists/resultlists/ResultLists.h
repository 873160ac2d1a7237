#pragma once
// The result lists of an event: the prize lists in the request's series
// filter (their numbers, in order) printed with places, results and prizes,
// class by class for the classes of the class filter (list kind 10) or
// combined (kind 11). One pass collects, ranks and pays for both layouts:
// the fixed one lays the lists out in the columns of organisation types 2
// and 6 (FixedLayout.h, with the complete final list and the print and
// protest times), the coded one in the columns the prize list's column
// string names (CodedLayout.h). The rows of the last prize list stay in the
// list object afterwards.
#include "results/lists/ListProducer.h"

#include <string>
#include <vector>

namespace results {

struct SettlementBooks;

// What a caller makes the result lists for.
struct ResultListOptions {
    bool withPrizes = false;  // prize columns, and their counting for the settlement
    bool continued = false;   // number the definitions after those already made
    bool web = false;         // for a web page (its own column string)
    // The competition report's settlement: its books, and the prize row of
    // the list (2 or more) that every printed row is booked into.
    SettlementBooks* books = nullptr;
    int settlementRow = 0;
};

class ResultLists : ListProducer {
public:
    explicit ResultLists(CDataList& list) : ListProducer(list) {}

    // The lists with the layout the report form and the web pages use for
    // the request's event (UsesFixed).
    void Make(int listKind, const ResultListOptions& options);
    void MakeFixed(int listKind, const ResultListOptions& options);
    void MakeCoded(int listKind, const ResultListOptions& options);
    // The fixed layout serves organisation types 2 and 6, unless the event
    // ranks by pistol field (result type 7).
    static bool UsesFixed(CCompetition& comp, int event);

private:
    void MakeLists(bool fixed, int listKind, const ResultListOptions& options);
    // The complete final list: the shooters of the events the source links
    // to, each start number once.
    void AddLinkedShooters(int list, int source, int kind, const std::string& classes, const std::string& letters,
                           std::vector<int32_t>& numbers);
    // A shooter row of the pass: in the pass's class (kind 10), or in the
    // list's classes with every category letter (kind 11).
    bool InPass(const ShooterRow& shooter, int listKind, int passClass, const std::string& classes,
                const std::string& letters) const;
};

}  // namespace results
