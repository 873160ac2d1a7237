#pragma once
// The shooters of one relay as the names dialog shows and edits them, kept
// by the range control itself: per lane the name, club, class, category and
// start score of the lane's card in that relay. A name typed for a lane
// without a card makes the card (with the lane's target settings) and its
// name record; the cards of the relay are never put on the lanes by it.
// Every change is written at once, in the competition data's lock brackets.
#include "foundation/comp/DataComp.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

class RelayNames {
public:
    enum Column { kColLane = 0, kColName, kColClub, kColClass, kColCategory, kColStartScore, kColumns };
    // Results of Store.
    enum { kStored = 0, kUnchanged = 1, kNoCard = -1 };

    // The dialog's own competition data, opened on the current competition.
    explicit RelayNames(CDataComp& comp);

    // The lanes' cards in the relay (in start-number mode, the card of that
    // start number); every other lane is forgotten.
    void Load(int relay, const std::vector<int>& lanes);
    int Relay() const { return m_relay; }
    // The lane's name record number, 0 when its card has none (or no card).
    int NameRecordOf(int lane) const;

    // A cell's text: the name's fields, the start score in hundredths as
    // "98.50" (or "97" without hundredths); nothing for a lane without a name.
    std::string CellText(int lane, int column);

    // An edited cell stored: over the lane's name, or, for a lane without
    // one, as a new name (on a new card made from `settings`, the lane's
    // target settings, when the lane has none in the relay). An empty text
    // for a lane without a name changes nothing. kNoCard when the card could
    // not be made or the name not written.
    int Store(int lane, int column, std::string_view text, const CardRecord& settings);

    // Blanks the lane's name (the card keeps pointing at it); false when the
    // lane has none.
    bool DeleteShooter(int lane);
    // Blanks every loaded lane's name.
    void DeleteRelay();

    static std::string ScoreText(int hundredths);

private:
    CDataComp& m_comp;
    int m_relay = 0;
    std::vector<int> m_lanes;
    std::array<int, CDataComp::kMaxLane + 1> m_nameRecs{};  // by lane 1..100
};
