#pragma once
// What the send dialog starts with for the range's results program: the
// relay of the first active lane as the relay to send, and whether the
// active relay is offered (and ticked). Results programs 3, 4, 5 and 7 take
// a chosen relay only; 0, 1, 2 and 6 start on the active relay.
struct SendPresets {
    int relayFrom = 0;
    int relayTo = 0;
    int activeRelay = 0;
    bool hideActive = false;
};

SendPresets SendPresetsFor(int resultsProgram, int currentRelay);
