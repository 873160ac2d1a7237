#pragma once
// Where the data check of an event reports its rows: the data-check dialog
// of the screens, or anything else that lists them.
#include "results/data/ResStrings.h"

#include <string>

namespace results {

class VerifySink {
public:
    virtual ~VerifySink() = default;
    // One row: the event, its name, the relay number (not the relay index),
    // the target and what is wrong there.
    virtual void AddError(int event, const std::string& eventName, int relay, int target,
                          const std::string& text) = 0;
    // A row whose text is a string of the program's string table.
    virtual void AddErrorId(int event, const std::string& eventName, int relay, int target, int textId)
    {
        AddError(event, eventName, relay, target, ResString(textId));
    }
};

}  // namespace results
