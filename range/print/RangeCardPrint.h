#pragma once
// The range's cards for the card printer: the cards of a range of relays
// (or start numbers) and lanes, each with its name, face and shots as the
// competition holds them, read through a second competition object so that
// the lanes' own images are not disturbed.
struct RangeObjects;
struct CardPrintJob;

namespace RangeCardPrint {

struct Selection {
    int firstRelay = 0;  // 0..0: each lane's current relay (start number)
    int lastRelay = 0;
    int firstLane = 1;
    int lastLane = 100;
    // The print dialog ran: its series per page; without it 6.
    bool withDialog = false;
};

// Fills the job's settings and cards; the number of cards.
int Fill(RangeObjects& objects, const Selection& selection, CardPrintJob& job);

}  // namespace RangeCardPrint
