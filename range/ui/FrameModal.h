#pragma once
// What the frame's commands share around their dialogs: a modal run that
// takes Cancel in time on a screen nobody sees, and the lane and input
// dialogs through which the commands ask for a lane or a text.
#include "platform/ui/Dialog.h"

#include <string>

struct RangeObjects;

// What the lane dialog asks and answers: a lane (or all targets), a relay,
// and in some forms all cards.
struct LaneQuestion {
    const char* titleKey = "";
    bool showAllCards = false;
    bool showRelay = false;
    int lane = 0;
    int relay = 0;
    bool allTargets = false;
    bool allCards = false;
};

// What the input dialog asks and answers: title, prompt and text; with a
// lane it also asks a lane or all targets.
struct InputQuestion {
    const char* titleKey = "";
    const char* promptKey = "";
    bool withLane = false;
    std::string text;
    int lane = 0;
    bool allTargets = false;
};

namespace FrameModal {

// Runs a dialog the frame opens by itself. On a screen nobody sees, the
// program says so on standard error and takes Cancel in time, as its boxes
// do, instead of waiting for good.
int Run(platform::Dialog& dialog);

// The lane dialog, preset with the first active lane and its relay; false
// when cancelled.
bool AskLane(QWidget* owner, RangeObjects& objects, LaneQuestion& question);
// The input dialog; false when cancelled.
bool AskInput(QWidget* owner, RangeObjects& objects, InputQuestion& question);

}  // namespace FrameModal
