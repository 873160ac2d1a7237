#pragma once
// Which relay (or, in a competition by start numbers, which start number)
// each active lane shoots next, as the new shooters dialog proposes and the
// officer changes it: one number for all lanes, or an entry per lane. Each
// lane's current relay is its active record's.
#include "range/base/LaneTable.h"

#include <array>
#include <utility>

// What the new-shooter command asks of the proposal.
struct RelayFlags {
    bool reset = false;       // every lane starts over at relay 1
    bool noAllLanes = false;  // the lanes are not offered one relay together
    bool nextRelay = false;   // the proposal is the relay after the highest
};

class RelayEntries {
public:
    static constexpr int kMinEntry = 1;
    static constexpr int kMaxEntry = 9999;

    // Every entry 0.
    RelayEntries() = default;

    // 0 for a number that is no lane; such a lane keeps nothing.
    int Entry(int lane) const { return LaneTable::IsLane(lane) ? m_entries[lane] : 0; }
    void SetEntry(int lane, int entry)
    {
        if (LaneTable::IsLane(lane))
            m_entries[lane] = entry;
    }
    // Whether a typed relay or start number can stand.
    static bool Valid(int entry) { return entry >= kMinEntry && entry <= kMaxEntry; }

    // Whether the dialog opens with one relay for all lanes: not by start
    // numbers, only where the competition changes relays on all lanes at
    // once, and not when the command says otherwise.
    static bool StartsAllLanes(bool startNumbers, bool relayChangeAllLanes, const RelayFlags& flags);

    // The proposed relay, with every active lane's entry set to what it
    // starts with: 1 on reset; else the highest current relay of any lane
    // (the one after it with nextRelay), and each lane's entry its current
    // relay, or the proposal when all lanes take the next relay together.
    // Without a competition (rows false) the entries stay as they are.
    int Propose(const LaneTable& lanes, const RelayFlags& flags, bool allLanes, bool startNumbers, bool rows);

    // Every active lane's entry.
    void SetAll(const LaneTable& lanes, int entry);

    // Numbers the active lanes in lane order: by start numbers from the
    // first entry set when the officer changed any, else from the highest
    // current number + 1; by relays (all lanes together) each lane its
    // current relay + 1.
    void Auto(const LaneTable& lanes, bool startNumbers, bool allLanes);

    // The first two active lanes with the same non-zero entry, or {0, 0}.
    std::pair<int, int> Duplicate(const LaneTable& lanes) const;

    // Whether the lane's entry is not its current relay.
    bool Changed(const LaneTable& lanes, int lane) const;

private:
    static int Current(const LaneTable& lanes, int lane) { return lanes[lane].active.relay; }

    // Index 0 is no lane.
    std::array<int, 101> m_entries{};
};

// The height of the new shooters dialog: up to the grid's top while the grid
// is hidden, else as high as the grid needs to show every row (the header,
// frame and margin below it in `chrome`), but never more than `limit`.
int RelayDialogHeight(bool gridShown, int gridTop, int rows, int rowHeight, int chrome, int limit);
