#pragma once
// The exchange with the results program: results written to the exchange
// folder after each stored shot or on command, and the shooters' names taken
// from it onto the lanes' cards.
#include "foundation/files/BVLog.h"

#include <memory>
#include <string>

class CBVExch;
struct RangeObjects;
class FrameServices;

class ResultsExchange {
public:
    ResultsExchange(RangeObjects& objects, FrameServices& services);
    ~ResultsExchange();

    // Exports the results of relays first..last (0..0 each lane's own) from
    // the first lane on, at most `shooters` (0: all), into the folder given
    // (the exchange folder when none); 0 when exported, else -1.
    int SendResults(int firstRelay, int lastRelay, int firstLane, int shooters, const char* folder = nullptr);
    // The export of the send results command.
    void SendOfficeResults();
    // Takes the shooters' names from the results program: every active lane,
    // or the one lane given; 1 when imported.
    int ImportNames(int laneLimit);

private:
    // The status bar names a missing exchange folder at every shot; the log
    // names it once, until the folder is usable again.
    void FolderMissing(const std::string& folder);

    RangeObjects& m_obj;
    FrameServices& m_services;
    CBVLog m_log;
    std::string m_missingFolder;  // the folder logged as missing, empty when none
    // Kept from one export to the next: the export after every stored shot
    // finds the competition's files open.
    std::unique_ptr<CBVExch> m_export;
};
