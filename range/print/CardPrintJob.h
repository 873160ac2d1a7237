#pragma once
// Cards made ready for the card printer: its texts and options, and the
// cards in the order they print. The range's logic fills a job; the frame
// prints it (FrameServices::PrintCards).
#include "foundation/cards/CardLayout.h"
#include "foundation/cards/PrintCard.h"

#include <vector>

struct RangeObjects;

struct CardPrintJob {
    CardPrintSettings settings;
    std::vector<PrintCard> cards;

    // What came of printing it, as the card printer tells.
    enum Result { kPrinted = 0, kCancelled = 1, kEmpty = 2, kNoPrinter = 3, kFailed = 4 };
};

// The texts every printout of the range control has: the language of the
// faces' names, the decimal sign, the document's name, the program's name
// before the title and the captions of the heads, from the language table.
void SetRangeCaptions(RangeObjects& objects, CardPrintSettings& settings);
