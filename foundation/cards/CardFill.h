#pragma once
// A competition's shooting card as the card printer takes it: the shooter,
// the face, and the shots in display order grouped into series slots of the
// competition's shooting program, with sums and running totals in
// hundredths. The range control and the remote program print their cards
// this way; so does bvtool.
#include "foundation/cards/CardLayout.h"
#include "foundation/comp/DataComp.h"
#include "foundation/cards/PrintCard.h"
#include "foundation/settings/ProgramStore.h"
#include "foundation/targets/TargetTypes.h"

#include <string>

class CBVConfig;

namespace CardFill {

struct Options {
    bool names = true;        // the shooter's name, club, class and category
    bool practice = true;     // series the program gives no shots are printed from the shots fired in them
    bool trueSize = false;    // one slot holds up to 99 shots (pictures at 1:1)
    int gauge = 0;            // with 1:1, 1..7 draw the holes of a gauge instead of the bullet
    bool startScore = false;  // the running total starts at the shooter's start score
    int equipment = 0;        // of the range: 1 turning targets (a marked shot counts 0), 2 running targets
    int program = 0;          // the competition's shooting program
    int actualDistance = 0;   // metres; 0: the face's own
    int simulatedDistance = 0;
    // Shots in their stored order up to the first free slot instead of the
    // card's display order, and at most this many in a slot (0: no limit
    // beyond the program's): how a second competition's series are put in
    // front of a card.
    bool storedOrder = false;
    int slotLimit = 0;
};

// The options of a competition's print settings (BVLeder.bvc section 32)
// and its Comp.BVC.
Options ReadOptions(CBVConfig& range, CBVConfig& competition);
// The printer settings the range's print settings give: black, margin,
// series per sheet, zoom levels, 1:1 and graphical sheets or list lines.
void ApplyPrintSettings(CBVConfig& range, CardPrintSettings& settings);

// A distance of the competition settings, or the face's own when it is
// missing, 0 or less: a damaged setting never divides a scale by nothing.
int Distance(int stored, int code, const CTargetTypes& types);

// The bullet radius the holes are drawn with: the face's, or a gauge's.
double HoleRadius(int code, const Options& options, const CTargetTypes& types);

// Fills `out` (cleared by the caller, e.g. by CCardPrinter::AddCard) from a
// card, its name (may be null) and its shots. Shots beyond the card's 250
// entries or 39 series slots are left out. Returns the number of shots put
// on the card.
int Fill(const CardRecord& card, const NameRecord* name, const ShotListRecord& shots, CProgramStore& programs,
         const CTargetTypes& types, const Options& options, PrintCard& out);

// Appends the series of a card's shots after the slots `out` already has,
// their running totals carrying on from the last of them. Returns the
// number of shots put on the card; `cut` is set when the card was full
// before every shot was on it.
int FillSeries(const CardRecord& card, const ShotListRecord& shots, CProgramStore& programs, const CTargetTypes& types,
               const Options& options, PrintCard& out, bool* cut = nullptr);

}  // namespace CardFill
