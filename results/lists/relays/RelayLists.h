#pragma once
// The relay lists: the roll call (list kind 6: who shoots on which target,
// with paid fee and start score), the relay list (kind 7: the same with
// every series and up to five sub-event totals; also the web's relay pages,
// whose names link to the card pictures) and the shooting cards as framed
// text (kind 8), one card per target. Each relay of the request is a
// definition of its own.
//
// The first empty relay asks once whether empty relays are listed (never
// for the web page output, a silent roll call or the cards); the answer
// holds for the rest of the call. A relay list on paper or in a file marks
// a relay whose results are locked as listed and calls the list object's
// frameRefresh.
#include "results/lists/ListProducer.h"

#include <cstdint>
#include <vector>

namespace results {

class RelayLists : ListProducer {
public:
    explicit RelayLists(CDataList& list) : ListProducer(list) {}

    // List kind 6, 7 or 8 as the report form asks for it, for the output.
    int MakeKind(int kind, int output);
    // Each returns the number of definitions made.
    int MakeRollCall(bool silent);
    int MakeRelayList(int kind, int output, bool withResultFields);

private:
    void SetupRollCall(int d);
    void SetupRelayList(int d);
    void SetupCardList(int d, int sponsors);
    void AddCardColumns(int count, int d);
    // The relay walk's question: answer 0 not asked yet, else the answer.
    bool ListEmptyRelay(bool mayAsk, int& answer);
    // Marks a relay with locked results as listed.
    void MarkLockedListed(int relayIndex);

    // The fit of the relay list's series cells: a shots cell's (0 for none)
    // and a sum's (0) per series, after an unused entry 0.
    std::vector<uint16_t> m_seriesFit;
};

}  // namespace results
