#include "range/dialogs/SendPresets.h"

SendPresets SendPresetsFor(int resultsProgram, int currentRelay)
{
    SendPresets p;
    p.relayFrom = currentRelay;
    p.relayTo = currentRelay;
    switch (resultsProgram) {
    case 3:
    case 4:
    case 5:
    case 7:
        p.activeRelay = 0;
        p.hideActive = true;
        break;
    case 0:
    case 1:
    case 2:
    case 6:
        p.activeRelay = 1;
        break;
    default:
        break;
    }
    return p;
}
