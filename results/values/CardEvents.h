#pragma once
// How a card object reaches the files of an event, its own or a linked one:
// the event objects answer for the program's screens, the background worker
// for its own file objects, so no thread touches another's.
#include "foundation/files/BVConfig.h"
#include "foundation/files/BVFileEx.h"

#include <cstdint>

namespace results {

// What a card asks of an event's entries: where a shooter of a linked event
// shoots, and the start score a sub-event adds. The entries file (DataReg.h)
// answers.
class CardEntries {
public:
    virtual ~CardEntries() = default;
    // The shooter's first entry in file order: 0 found, 1 none.
    virtual int FindShooter(int32_t startNr, int& relay, int& target) = 0;
    // Start score (tenths) of the shooter's first entry, 0 when none.
    virtual int GetStartScore(int32_t startNr) = 0;
};

class CardEvents {
public:
    virtual ~CardEvents() = default;
    // Comp.bvc of the competition; null when none is open.
    virtual CBVConfig* Comp() = 0;
    // The event's Event%d.bvc, Res%d.bvd and Reg%d.bvd; null when the
    // event does not exist.
    virtual CBVConfig* Settings(int event) = 0;
    virtual CBVFileEx* Results(int event) = 0;
    virtual CardEntries* Entries(int event) = 0;
};

}  // namespace results
