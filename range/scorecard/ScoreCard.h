#pragma once
// One shooting card as the score card window holds it while the officer
// looks at it and works on it: the card, its name and its shots as read, the
// rows of the shot list (the shots fired in series 1 to 28, in display
// order), the series each row counts in as the officer chooses it (the
// "working" counting series) beside the one read, and what is changed and
// not yet saved. Everything here is decided without a window; the window
// (range/ui/scorecard/DlgCard.h) shows it and asks the questions.
//
// Counting series: 0 undefined (the store has not decided yet), 1..28 the
// series the shot counts in, 128 out (counts in none).
#include "foundation/comp/DataComp.h"
#include "platform/system/Clock.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// Shots counted and their values (hundredths) in the selected series and on
// the whole card.
struct CardSums {
    int seriesCount = 0;
    int seriesSum = 0;
    int totalCount = 0;
    int totalSum = 0;
};

class ScoreCard {
public:
    static constexpr uint8_t kUndefined = 0;
    static constexpr uint8_t kOut = 128;
    // The comment's field holds 248 bytes with its terminating zero; one more
    // is kept free so that a comment always ends inside it.
    static constexpr int kCommentLimit = 247;

    ScoreCard();

    // The card shown: its relay (the start number in start-number mode) and
    // lane (0 in start-number mode).
    int relay = 1;
    int lane = 0;

    CardRecord card;
    NameRecord name;
    ShotListRecord shots;
    // The shot list's update counter when the rows were last listed.
    int32_t shownCounter = 0;

    // What the officer changed since the card was read or saved.
    bool matchChanged = false;
    bool commentChanged = false;
    bool stateChanged = false;

    // ---- Reading and listing

    // Reads the card of the key, its name and its shot list afresh, by key,
    // without telling any lane that it shows the card. A card that is not
    // there reads as a cleared card with its key and no shots.
    void Read(CDataComp& comp);
    // Lists the rows: for series 1 to 28 in turn, the shots in display order
    // whose series byte is that series (all eight bits: a slot whose series
    // byte has bit 7 set is not listed). resort: the display order of
    // turning targets with run counters. keepWork: a row still listed keeps
    // the counting series the officer gave it and did not save yet.
    void List(bool resort, bool keepWork);
    int RowCount() const { return static_cast<int>(m_rows.size()); }
    int Slot(int row) const { return m_rows[static_cast<size_t>(row)]; }
    const ShotRecord& Shot(int row) const { return shots.shots[Slot(row)]; }
    uint8_t Working(int row) const { return m_working[static_cast<size_t>(Slot(row))]; }
    uint8_t AsRead(int row) const { return m_asRead[static_cast<size_t>(Slot(row))]; }
    // The display order the rows were listed from (slot indexes, 255 after the last).
    const uint8_t* Order() const { return m_order.data(); }

    // ---- Match shots: which shots count in a series

    enum class Pick { First, Last, Best, Lowest, None };
    // Gives counting series `series` to `count` of the shots fired in it (by
    // position from the top or the bottom, or by counted value, ties going
    // to the earlier row) and takes the others out; None takes them all out.
    void PickMatchShots(Pick pick, int series, int count, bool turning);
    // The check box of a row: into `series`, or out when it counted there.
    void ToggleRow(int row, int series);
    std::vector<int> RowsCountingIn(int series) const;
    // Whether some row counts elsewhere than read; the match-changed flag
    // follows (the check before unsaved work is lost).
    void ReviseMatchChanged();
    bool Dirty() const { return matchChanged || commentChanged || stateChanged; }
    void ClearChanges() { matchChanged = commentChanged = stateChanged = false; }

    // The value a row counts with in the card's value system; a marked shot
    // counts 0 on turning targets.
    int CountedValue(int row, bool turning) const;
    // Sums by the working counting series: the total counts the rows of
    // series that have match shots (seriesShots(c) above 0) and starts at the
    // shooter's start score when the competition adds it.
    CardSums Sums(int series, const std::function<int(int)>& seriesShots, bool withStartScore, bool turning) const;

    // ---- Storing

    // The result state on the card as stored now; the copy follows.
    int StoreState(CDataComp& comp, uint8_t state);
    // The rows' counting series and the comment into the list as stored now
    // (made when the card has none); the copy follows. The new update
    // counter, or 0.
    int32_t StoreShots(CDataComp& comp, const std::string& comment);

private:
    std::vector<int> m_rows;
    std::array<uint8_t, CDataComp::kSlots> m_order{};
    std::array<uint8_t, CDataComp::kSlots> m_working{};
    std::array<uint8_t, CDataComp::kSlots> m_asRead{};
};

// Shots copied from one card to paste onto another (Ctrl+C, Ctrl+V): the
// slots in list order and the whole list as it was when copied.
class CardClipboard {
public:
    CardClipboard() { Clear(); }
    void Copy(const ScoreCard& card, const std::vector<int>& rows);
    void Clear();
    bool Empty() const { return Count() == 0; }
    int Count() const;
    // Stores every copied shot on the card of (relay, lane) as a copied shot;
    // empties the clipboard. The number of shots stored.
    int Paste(CDataComp& comp, int relay, int lane);

    std::array<uint8_t, CDataComp::kSlots> slotIndexes{};  // ended by 255
    ShotListRecord copy{};
};

// A total or series sum as the card shows it: two decimals in value system
// 6, one in the other systems with decimals, whole values otherwise.
std::string SumText(int sum, int valueSystem, std::string_view separator);

// The comment between its field (lines ended by CR LF, at most
// ScoreCard::kCommentLimit bytes) and the edit (lines ended by LF).
std::string CommentForField(std::string_view editText);
std::string CommentForEdit(const ShotListRecord& list);

// Whether shots stored now may be shown on the target: the stored mark kind
// (2,1,711) is single shot, series or left to the program.
inline bool MarkingAllowed(int markKind) { return markKind <= 2; }

// A shot entered by hand: no coordinates (X and Y -1.5 mm, the radius
// from them), 20.00 degrees, sensors 32, 32, 32 and none, stamped now;
// stored in the next free slot and counting nowhere yet.
ShotRecord ManualShot(int value, int series, int position, int lane, int markKind, const platform::LocalTime& now);
// A shot of another card as it is pasted: marked copied, in the next free
// slot, without a position, counting nowhere yet.
ShotRecord PastedShot(const ShotRecord& copied);

// A manual or copied shot corrected by hand: the value (a copied shot keeps
// its own), series and position entered. True when the shot changed; it then
// goes to the next free slot's place in the order again (shot number 0),
// counts nowhere when its series changed, and may be shown when marking
// allows.
struct ShotEntry {
    int value = 0;
    int series = 0;
    int position = 0;
};
bool CorrectShot(ShotRecord& shot, const ShotEntry& entered, int markKind);
