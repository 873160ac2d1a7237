#pragma once
// The print button's work: the cards, lists or shot logs of the chosen
// relays and lanes of a range folder's competition, through the card and
// shot log printers and their print dialog. Shared by the print page and
// `BVRemote --print`.
#include "remote/print/PrintOptions.h"
#include "remote/settings/RemoteSettings.h"

#include <string>
#include <vector>

struct PrintedCard {
    int relay = 0;  // or start number
    int lane = 0;   // 0 with start numbers
    int shots = 0;
};

struct PrintOutcome {
    enum Status { kPrinted, kNoCompetition, kNoCards, kNotPrinted };
    Status status = kNotPrinted;
    std::vector<PrintedCard> cards;  // in print order
};

// Prints for the range folder (ending in a backslash) and competition with
// the options; the texts come from the language table in use.
PrintOutcome PrintRange(const std::string& folder, int comp, const PrintOptions& options);
