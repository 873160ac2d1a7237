#pragma once
// The officer's operations a button of the panel or a click in the lane
// list starts, where the frame has a say: the lane dialog may come first,
// a new relay asks in the new-shooters dialog, the simulation in its own
// dialog. The frame does them (a test frame notes them instead).
class ViewActions {
public:
    virtual ~ViewActions() = default;

    // The clock's state to a lane's target (0: every lane).
    virtual void SendClockMode(int lane) = 0;
    // markKind: 0 single shots, 1 series, 2 blocked; seriesIndex: series - 1.
    virtual void ShootSeries(int markKind, int seriesIndex, bool askLane) = 0;
    virtual void MarkSeries(int markKind, int seriesIndex, bool askLane) = 0;
    virtual void MarkTwinLane(int markKind, int seriesIndex) = 0;
    // The results sent, then a new relay of shooters.
    virtual void OnNewShooter() = 0;
    // The simulation dialog, then its shots on a lane (0: every lane).
    virtual void OnSimulate(int lane) = 0;
};
