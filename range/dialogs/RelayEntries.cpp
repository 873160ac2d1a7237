#include "range/dialogs/RelayEntries.h"

#include <algorithm>

bool RelayEntries::StartsAllLanes(bool startNumbers, bool relayChangeAllLanes, const RelayFlags& flags)
{
    return !startNumbers && relayChangeAllLanes && !flags.noAllLanes;
}

int RelayEntries::Propose(const LaneTable& lanes, const RelayFlags& flags, bool allLanes, bool startNumbers,
                          bool rows)
{
    if (flags.reset) {
        SetAll(lanes, 1);
        return 1;
    }
    // The highest relay on any lane, taking part or not, at least 1.
    int relay = 1;
    for (int lane = LaneTable::kFirstLane; lane <= LaneTable::kLastLane; ++lane) {
        int current = Current(lanes, lane);
        if (current >= relay)
            relay = flags.nextRelay ? current + 1 : current;
    }
    if (!rows)
        return relay;
    bool together = allLanes && flags.nextRelay && !startNumbers;
    for (int lane = LaneTable::kFirstLane; lane <= LaneTable::kLastLane; ++lane)
        if (lanes.IsActive(lane))
            m_entries[lane] = together ? relay : Current(lanes, lane);
    return relay;
}

void RelayEntries::SetAll(const LaneTable& lanes, int entry)
{
    for (int lane = LaneTable::kFirstLane; lane <= LaneTable::kLastLane; ++lane)
        if (lanes.IsActive(lane))
            m_entries[lane] = entry;
}

void RelayEntries::Auto(const LaneTable& lanes, bool startNumbers, bool allLanes)
{
    bool changed = false;
    int firstSet = 0;
    int highest = 0;
    for (int lane = LaneTable::kFirstLane; lane <= LaneTable::kLastLane; ++lane) {
        if (!lanes.IsActive(lane))
            continue;
        changed = changed || Changed(lanes, lane);
        if (firstSet == 0)
            firstSet = m_entries[lane];
        highest = std::max(highest, Current(lanes, lane));
    }
    if (startNumbers) {
        // Numbers from the officer's first one; when every entry was cleared
        // there is none, and the numbers go on after the highest.
        int next = changed && firstSet != 0 ? firstSet : highest + 1;
        for (int lane = LaneTable::kFirstLane; lane <= LaneTable::kLastLane; ++lane)
            if (lanes.IsActive(lane))
                m_entries[lane] = std::min(next++, kMaxEntry);
        return;
    }
    if (allLanes)
        for (int lane = LaneTable::kFirstLane; lane <= LaneTable::kLastLane; ++lane)
            if (lanes.IsActive(lane))
                m_entries[lane] = Current(lanes, lane) + 1;
}

std::pair<int, int> RelayEntries::Duplicate(const LaneTable& lanes) const
{
    for (int i = LaneTable::kFirstLane; i <= LaneTable::kLastLane; ++i) {
        if (!lanes.IsActive(i) || m_entries[i] == 0)
            continue;
        for (int j = i + 1; j <= LaneTable::kLastLane; ++j)
            if (lanes.IsActive(j) && m_entries[j] == m_entries[i])
                return {i, j};
    }
    return {0, 0};
}

bool RelayEntries::Changed(const LaneTable& lanes, int lane) const
{
    return LaneTable::IsLane(lane) && m_entries[lane] != Current(lanes, lane);
}

int RelayDialogHeight(bool gridShown, int gridTop, int rows, int rowHeight, int chrome, int limit)
{
    int height = gridShown ? gridTop + std::max(0, rows) * rowHeight + chrome : gridTop;
    return limit > 0 ? std::min(height, limit) : height;
}
