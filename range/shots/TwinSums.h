#pragma once
// The sums the twin lane's monitor shows shot by shot: the marking command
// of the twin lane starts them at a lane and series, and the tick sends the
// next shot at the competition's marking tempo.
struct RangeObjects;
class TickCounters;
class LaneCommands;

class TwinSums {
public:
    TwinSums(RangeObjects& objects, TickCounters& tick, LaneCommands& commands);

    void StartSums(int lane, int series);
    // Clears what the twin lane's monitor shows, as for a lane and series
    // without a shot.
    void ClearSums(int lane, int series);
    // One step: the next shot of the series shown, or the clearing command
    // once none is left.
    void SendSums();

private:
    RangeObjects& m_obj;
    TickCounters& m_tick;
    LaneCommands& m_commands;
    // The lane and series shown, the next shot.
    int m_sumsLane = 0;
    int m_sumsSeries = 0;
    int m_sumsIndex = -1;
};
