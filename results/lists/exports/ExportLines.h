#pragma once
// The lines of the exports, one per target, fields separated by ';' and
// ended by CR LF.
#include "results/lists/ListRows.h"

#include <string>

namespace results {

// What every line of one relay repeats.
struct ExportRelayInfo {
    std::string eventName;
    int index = 0;   // the relay's position in the event, not its number
    int number = 0;
    int date = 0;    // yyyymmdd of the relay's day; 0 gives 00.00.0
    std::string time;
};

// A text as a field: ';' becomes ',', CR and LF a blank.
std::string ExportField(std::string text);

// export.txt: event;dd.mm.yyyy;time;relay index;target;club;name;;club name;class;category
// (the last six empty for a target without entry).
std::string ExportLine(const ExportRelayInfo& relay, int target, const ShooterRow* shooter);

// Startlst.csv: bib (or 0);start number;name (18);0;0;class;2;0;club (15);0;target;relay (2 digits);time;0;0;0
std::string StartListLine(const ShooterRow& shooter, const std::string& className, int target, int relayNumber,
                          const std::string& time);

}  // namespace results
