#pragma once
// How a card object reaches the files of an event, its own or a linked one:
// the event objects answer for the program's screens, the background worker
// for its own file objects, so no thread touches another's.
#include "foundation/files/BVConfig.h"
#include "foundation/files/BVFileEx.h"

namespace results {

class CDataReg;

class CardEvents {
public:
    virtual ~CardEvents() = default;
    // Comp.bvc of the competition; null when none is open.
    virtual CBVConfig* Comp() = 0;
    // The event's Event%d.bvc, Res%d.bvd and Reg%d.bvd; null when the
    // event does not exist.
    virtual CBVConfig* Settings(int event) = 0;
    virtual CBVFileEx* Results(int event) = 0;
    virtual CDataReg* Entries(int event) = 0;
};

}  // namespace results
