#pragma once
// A shooting card of BVRes as the card printer takes it: the shooter's
// result card of an event turned into a PrintCard, and the names of the
// pictures the card printer saves of it. The relay pages of the web link
// to those pictures, so both sides name them here alike.
#include "foundation/cards/PrintCard.h"
#include "results/lists/ListRows.h"

#include <string>

class CTargetTypes;

namespace results {

class CDataRes;

// The web's card pictures hold this many series per sheet.
inline constexpr int kWebSeriesPerSheet = 14;

// The picture of a card: the event's name made file-safe, relay, lane and
// ".png"; sheet n from 1 of a card of several sheets adds "_p<n>" before
// ".png" (sheet 0 for a card of one sheet).
std::string CardPictureName(const std::string& eventName, int relay, int lane, int sheet);

// Fills the card from the loaded result card of (relay number, lane):
// identity, target and its bullet radius, start score (tenths), the
// event's series (seriesCount of them; the card holds 39, more are left
// off), the shots, running totals and totals.
void FillPrintCard(PrintCard& print, CDataRes& card, const ShooterRow* shooter, int relayNumber, int lane,
                   int startScoreTenths, int seriesCount, const CTargetTypes& types);

// The sheets the card printer makes of the loaded result card.
int CardPictureSheets(CDataRes& card, int seriesPerSheet);

}  // namespace results
