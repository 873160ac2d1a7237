#pragma once
// When the range control hands results to the results program, and what it
// tells the officer afterwards. The exchange itself (file formats, merging
// with what the results side wrote) is the exchange object's; here are the
// choices the frame makes around it.

namespace ExportTriggers {

// The results programs whose files hold one relay each (line and list
// formats): an export on command takes the relay on the first active lane.
bool OneRelayPerFile(int resultsProgram);

struct Relays {
    int first = 0;  // 0 to 0: the relay now on each lane
    int last = 0;
};
// The relays of an export on command (the send results command and the
// input dialog): lanes from the first active one, at most 99 shooters.
Relays OfficeRelays(int resultsProgram, int firstLaneRelay);
constexpr int kOfficeShooters = 100;  // lanes 1..100, one card each

// What the frame shows and logs for an export's result.
struct Outcome {
    int result;
    int logLevel;         // 0: nothing logged
    const char* logText;  // with the file name or the prefix
    const char* statusKey;  // status-bar warning; nullptr for none
    bool withFolder;        // the status text is followed by the folder
    const char* messageKey; // a message box; nullptr for none
    bool beep;
};
// The outcome of an export result; nullptr for a result that shows nothing.
const Outcome* OutcomeOf(int result);

}  // namespace ExportTriggers
