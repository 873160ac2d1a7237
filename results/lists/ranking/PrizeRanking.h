#pragma once
// The prize ranking form's ranking of one prize list of an event: the
// shooters of a class (a class prize list, rank list kind 10), or of a
// combined list's classes and categories (kind 11), with their results in
// the list's source, their shoot-offs and rank texts from the event's rank
// file, sorted, placed and paid. The rows stay in the list object and the
// list object's ranking tells what was decided; nothing is printed.
#include "results/lists/ListProducer.h"

namespace results {

class PrizeRanking : ListProducer {
public:
    explicit PrizeRanking(CDataList& list) : ListProducer(list) {}
    void Make(int event, int listKind, int list, int classNr);
};

}  // namespace results
