#pragma once
// What the competition settings dialog edits of one competition's Comp.BVC,
// without the window: the values as loaded, the checks OK makes, the limits
// it puts on numbers, the order it writes in, and what the Default button
// and the organisation's program list give. The dialog moves these values
// to and from its controls.
#include "foundation/settings/CompOptions.h"

#include <functional>
#include <string>
#include <vector>

class CBVConfig;
class CProgramStore;

struct CompSettingsForm {
    // Lanes are 1..100; so is the twin lane.
    static constexpr int kMaxLane = 100;
    static constexpr int kMaxZoomLevel = 10;
    static constexpr int kMaxTempo = 9;
    static constexpr int kMaxDistance = 999;
    static constexpr int kMaxDecimals = 3;

    std::string name;
    std::string date;
    std::string description;       // two items of 30
    std::string prefix;            // first part of every exchange file name: a letter and a digit 1..9
    unsigned zoomLevel = 0;
    unsigned tempo = 0;
    unsigned distance = 0;
    unsigned simulatedDistance = 0;
    unsigned decimals = 0;
    // Radio groups: the index, -1 when none is chosen.
    int sensitivity = -1;
    int startScore = -1;
    int zoomMode = -1;
    int seriesMeasure = -1;
    // The option boxes; positions without a box stay off.
    CompOptions options = CompOptions::AllOff();
    int twinBox = 0;
    int twinLane = 0;
    int superFinalBox = 0;
    std::string superFinalNumber;  // as typed; stored plus one
    std::string laneText;          // the stop message of the monitors
    int organisation = 0;          // CompOptions::Organisation
    int program = 0;               // 0 none

    struct Lane {
        int lane = 0;
        bool ticked = false;
    };
    // The lanes of the range's line channels, in lane order.
    std::vector<Lane> lanes;

    // The lane rows of the lanes for which hasChannel is true, none ticked.
    void ListLanes(const std::function<bool(int lane)>& hasChannel);
    // Every value from the file (each item with its default), the rows
    // ticked by the lanes the competition has active.
    void Load(CBVConfig& comp);

    // The message key of the first check that fails, or null: the prefix,
    // then twin-screen marking, which needs exactly one ticked lane of at
    // least two listed and a twin lane of a line channel other than it.
    const char* Check(const std::function<bool(int lane)>& hasChannel) const;
    static bool ValidPrefix(const std::string& prefix);

    // Writes every item in the dialog's order, numbers held to their
    // limits. True when the lanes' set-up must be read again: a lane was
    // ticked that the file had off, or the start-number box changed since
    // the file was loaded (startNumbersAtLoad).
    bool Write(CBVConfig& comp, bool startNumbersAtLoad) const;

    // The Default button: the option boxes and the lane text as the
    // organisation uses them, decimals 1. Sending automatically stays.
    void ApplyDefault();

    struct ProgramEntry {
        int number = 0;
        std::string name;
    };
    // The programs of an organisation: for the private one (0) every named
    // program above 100; for any other the named programs 1..100 that name it.
    static std::vector<ProgramEntry> ProgramsOf(int organisation, CProgramStore& programs);
};
